// The platform services the portable core asks for, on Win32.
#include "duel/platform.h"
#include "duel/state.h"
#include "shell/win.h"

uint32_t TickCount() { return GetTickCount(); }

void Message(const char* text) {
    dummy = static_cast<uint32_t>(MessageBoxA(NULL, text, "Message", MB_OK));
}

void CloseMainWindow() {
    ending = true;
    dummy = DestroyWindow(hWnd);
    PostQuitMessage(0);
}

bool WindowsDirectory(char* buf, std::size_t cap) {
    UINT n = GetWindowsDirectoryA(buf, static_cast<UINT>(cap));
    return n > 0 && n < cap;
}
