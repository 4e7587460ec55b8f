// The platform services the portable core asks for beyond files and the screen, on Win32.
#include "duel/platform.h"
#include "shell/win.h"

bool WindowsDirectory(char* buf, std::size_t cap) {
    UINT n = GetWindowsDirectoryA(buf, static_cast<UINT>(cap));
    return n > 0 && n < cap;
}
