// The duel's screen on Windows: the main window through GDI, the message box, the ticks.
#include "duel/screen.h"
#include "duel/state.h"
#include "shell/win.h"

namespace {

// A painting or drawing in progress. Its font is made for its first text, and its
// background mode is set only when a text asks for the other one.
struct Context {
    HDC dc;
    bool painting;
    PAINTSTRUCT ps;
    HFONT font;
    HGDIOBJ oldFont;
    bool transparent;
};
// The message line draws inside the opening's drawing, and a message box's own loop
// can paint inside either; deeper than this, the deepest ones share a place.
constexpr int kDeepest = 8;
Context contexts[kDeepest];
int depth;  // contexts begun and not yet ended

Context& At(int level) { return contexts[level < kDeepest ? level : kDeepest - 1]; }

void Begin(bool painting) {
    Context& c = At(depth);
    c = Context{};
    c.painting = painting;
    c.dc = painting ? BeginPaint(hWnd, &c.ps) : GetDC(hWnd);
    hDC = c.dc;
    depth++;
}

void End() {
    Context& c = At(--depth);
    if (c.font) {
        SelectObject(c.dc, c.oldFont);
        DeleteObject(c.font);
    }
    if (c.painting)
        EndPaint(hWnd, &c.ps);
    else
        ReleaseDC(hWnd, c.dc);
    hDC = depth > 0 ? At(depth - 1).dc : NULL;
}

Context& Current() { return At(depth > 0 ? depth - 1 : 0); }

}  // namespace

void BeginPainting() { Begin(true); }
void EndPainting() { End(); }
void BeginDrawing() { Begin(false); }
void EndDrawing() { End(); }

void ShowText(int x, int y, const char* text, bool opaque) {
    Context& c = Current();
    if (!c.font) {
        c.font = font = CreateFontA(10, 10, 0, 0, 100, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0, "Morvit");
        c.oldFont = SelectObject(c.dc, c.font);
    }
    if (opaque == c.transparent) {
        SetBkMode(c.dc, opaque ? OPAQUE : TRANSPARENT);
        c.transparent = !opaque;
    }
    TextOutA(c.dc, x, y, text, lstrlenA(text));
}

void ShowFrame(int left, int top, int right, int bottom) {
    Rectangle(Current().dc, left, top, right, bottom);
}

void ShowBars(uint32_t colour, const Bar& you, const Bar& opp) {
    HDC dc = Current().dc;
    oppHPrng = CreateRectRgn(opp.left, opp.top, opp.left + opp.length, opp.bottom);
    youHPrng = CreateRectRgn(you.left, you.top, you.left + you.length, you.bottom);
    HBRUSH brush = CreateSolidBrush(colour);
    FillRgn(dc, youHPrng, brush);
    FillRgn(dc, oppHPrng, brush);
    DeleteObject(brush);
    DeleteObject(oppHPrng);
    DeleteObject(youHPrng);
}

void Message(const char* text) {
    dummy = static_cast<uint32_t>(MessageBoxA(NULL, text, "Message", MB_OK));
}

void CloseMainWindow() {
    ending = true;
    dummy = DestroyWindow(hWnd);
    PostQuitMessage(0);
}

uint32_t TickCount() { return GetTickCount(); }

// Waiting on an empty set with no input to wake it also lets the system show what was
// just drawn.
void Pause(uint32_t ms) { MsgWaitForMultipleObjects(0, NULL, FALSE, ms, 0); }
