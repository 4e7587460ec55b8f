// The duel screen: names, moves, message line, frames, pictures and hit-point bars.
#include "duel/rules.h"
#include "duel/state.h"
#include "shell/win.h"

namespace {

struct Frame {
    int left, top, right, bottom;
};

// Hit-point frames 102 x 10, picture frames 147 x 140; their insides hold bars and pictures.
const Frame kFrames[] = {
    {450, 25, 552, 35},   // opponent's hit points
    {405, 40, 552, 180},  // opponent's picture
    {10, 265, 112, 275},  // player's hit points
    {10, 280, 157, 420},  // player's picture
};

struct Bar {
    int left, top, bottom;
};
const Bar kOppBar = {451, 26, 34};
const Bar kYouBar = {11, 266, 274};

const COLORREF kBarBack = 0x00FFFFFF;
const COLORREF kBarFill = 0x0000FF00;

void Say(HDC dc, int x, int y, const char* text) {
    TextOutA(dc, x, y, text, lstrlenA(text));
}

// Fills both bars to the given lengths with one brush.
void FillBars(COLORREF colour, int youLength, int oppLength) {
    oppHPrng = CreateRectRgn(kOppBar.left, kOppBar.top, kOppBar.left + oppLength, kOppBar.bottom);
    youHPrng = CreateRectRgn(kYouBar.left, kYouBar.top, kYouBar.left + youLength, kYouBar.bottom);
    HBRUSH brush = CreateSolidBrush(colour);
    FillRgn(hDC, youHPrng, brush);
    FillRgn(hDC, oppHPrng, brush);
    DeleteObject(brush);
    DeleteObject(oppHPrng);
    DeleteObject(youHPrng);
}

}  // namespace

HFONT MakeDuelFont() {
    return CreateFontA(10, 10, 0, 0, 100, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0, "Morvit");
}

void DrawFrames(HDC dc) {
    for (const Frame& f : kFrames) Rectangle(dc, f.left, f.top, f.right, f.bottom);
}

void DrawBars(HWND window) {
    hDC = GetDC(window);
    FillBars(kBarBack, BarLength(youMaxHP, youMaxHP), BarLength(oppMaxHP, oppMaxHP));
    FillBars(kBarFill, BarLength(youHP, youMaxHP), BarLength(oppHP, oppMaxHP));
    ReleaseDC(window, hDC);
}

void onPaint(HWND window) {
    if (ending) {  // the program is closing: nothing more is drawn
        ValidateRect(window, NULL);
        return;
    }
    PAINTSTRUCT ps;
    hDC = BeginPaint(window, &ps);
    font = MakeDuelFont();
    HGDIOBJ oldFont = SelectObject(hDC, font);
    SetBkMode(hDC, TRANSPARENT);
    if (showPics) {
        Say(hDC, 450, 10, opp);
        Say(hDC, 10, 250, you);
    }
    Say(hDC, 200, 300, youMove.moveA);
    Say(hDC, 200, 320, youMove.moveB);
    Say(hDC, 200, 340, youMove.moveC);
    Say(hDC, 200, 400, msg);
    DrawFrames(hDC);
    if (showPics) {
        LoadPic(youNum, kYourCreature, true);
        LoadPic(oppNum, kOppCreature, false);
    }
    SelectObject(hDC, oldFont);
    DeleteObject(font);
    EndPaint(window, &ps);

    if (msg != msgOld) {
        UpdateMessage(window);
        msgOld = msg;
    }

    DrawBars(window);
    CheckEnd(window);
}
