// The message line drawn at once, and the pauses between the duel's events.
#include "duel/rules.h"
#include "duel/state.h"
#include "shell/win.h"

static const char kBlanks32[] = "                                ";

void UpdateMessage(HWND window) {
    if (ending) return;
    HDC dc = GetDC(window);
    HFONT lineFont = MakeDuelFont();
    HGDIOBJ old = SelectObject(dc, lineFont);
    msg += kBlanks32;  // opaque blanks cover what a longer message left behind
    TextOutA(dc, 200, 400, msg, lstrlenA(msg));
    SelectObject(dc, old);
    DeleteObject(lineFont);
    ReleaseDC(window, dc);
}

// Handles no window messages, so nothing reacts during a pause; it sleeps in short
// slices rather than spinning, which also lets the screen show what was just drawn.
void Wait(DWORD ms) {
    if (ending) return;
    const DWORD start = GetTickCount();
    for (;;) {
        DWORD now = GetTickCount();
        if (TimeIsUp(start, now, ms)) return;
        DWORD left = ms - (now - start);
        DWORD slice = left < 10 ? left : 10;
        MsgWaitForMultipleObjects(0, NULL, FALSE, slice, 0);
    }
}
