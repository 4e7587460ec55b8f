// Away from Windows there is no Windows directory: the settings file must be named.
#include "check/check.h"
#include "duel/platform.h"

extern const char kSeparator[] = "/";
extern const bool kUtf8Names = true;

bool WindowsDirectory(char*, std::size_t) { return false; }

void StartPlatform() {}
