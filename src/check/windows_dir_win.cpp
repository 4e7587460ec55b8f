// The Windows directory, where the game keeps its settings file.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include "duel/platform.h"

extern const char kSeparator[] = "\\";

bool WindowsDirectory(char* buf, std::size_t cap) {
    UINT n = GetWindowsDirectoryA(buf, static_cast<UINT>(cap));
    return n > 0 && n < cap;
}
