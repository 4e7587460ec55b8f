// The checker's Win32 bits: the Windows directory, where the game keeps its settings file,
// and the line reader's speed.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include "data/lines.h"
#include "check/check.h"
#include "duel/platform.h"

extern const char kSeparator[] = "\\";
extern const bool kUtf8Names = false;

void StartPlatform() { AllowWideScanOnThisSystem(); }

bool WindowsDirectory(char* buf, std::size_t cap) {
    UINT n = GetWindowsDirectoryA(buf, static_cast<UINT>(cap));
    return n > 0 && n < cap;
}
