// The literal baseline. LiteralPaint follows onPaint step by step; only the pictures differ.
#include "literal_paint.h"
#include "data/picture_name.h"
#include <initializer_list>
#include "duel/duel.h"
#include "duel/layout.h"
#include "duel/screen.h"
#include "duel/state.h"
#include "gfx/bitmap.h"

namespace {

HANDLE OpenPicture(const char* name) {
    return CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
}

// LoadPic with the headers read by hand and the pixels drawn the literal way.
void LiteralLoadPic(int16_t num, int x, int y, bool mirror) {
    Text<255> name;
    PictureName(name, "", num);
    if (GetFileAttributesA(name) == INVALID_FILE_ATTRIBUTES) return;
    HANDLE f = OpenPicture(name);
    if (f == INVALID_HANDLE_VALUE) return;
    BITMAPFILEHEADER fh = {};
    BITMAPINFOHEADER ih = {};
    DWORD got;
    ReadFile(f, &fh, 14, &got, NULL);
    ReadFile(f, &ih, 40, &got, NULL);
    CloseHandle(f);
    int16_t left, top;
    if (StandingPlace(ih.biWidth, ih.biHeight, x + 73, y + 138, left, top))
        LiteralDispBmp(hDC, name, left, top, true, mirror);
}

}  // namespace

void LiteralDispBmp(HDC dc, const char* name, int x, int y, bool transparent, bool mirror) {
    HANDLE f = OpenPicture(name);
    if (f == INVALID_HANDLE_VALUE) return;
    BITMAPFILEHEADER fh = {};
    BITMAPINFOHEADER ih = {};
    DWORD got;
    ReadFile(f, &fh, 14, &got, NULL);
    ReadFile(f, &ih, 40, &got, NULL);
    const LONG w = ih.biWidth, h = ih.biHeight;
    if (w > 0 && h > 0) {
        const LONG pad = (LONG(fh.bfSize) - 3 * w * h - 54) / h;
        for (LONG row = 0; row < h; row++) {  // the bottom row is stored first
            for (LONG j = 0; j < w; j++) {
                BYTE p[3];
                ReadFile(f, p, 3, &got, NULL);
                COLORREF c = RGB(p[2], p[1], p[0]);
                if (transparent && c == RGB(255, 255, 255)) continue;
                SetPixel(dc, mirror ? x + w - 1 - j : x + 1 + j, y + h - row, c);
            }
            SetFilePointer(f, pad, NULL, FILE_CURRENT);
        }
    }
    CloseHandle(f);
}

void LiteralPaint() {
    BeginPainting();
    if (showPics) {
        ShowText(450, 10, opp, false);
        ShowText(10, 250, you, false);
    }
    ShowText(200, 300, youMove.moveA, false);
    ShowText(200, 320, youMove.moveB, false);
    ShowText(200, 340, youMove.moveC, false);
    ShowText(200, 400, msg, false);
    for (const Box& f : {kOppHPFrame, kOppPictureFrame, kYouHPFrame, kYouPictureFrame})
        ShowFrame(f.left, f.top, f.right, f.bottom);
    if (showPics) {
        LiteralLoadPic(youNum, 11, 281, true);
        LiteralLoadPic(oppNum, 406, 41, false);
    }
    EndPainting();

    if (msg != msgOld) {
        UpdateMessage();
        msgOld = msg;
    }
    BeginDrawing();
    ShowBars(kBarBack, Filled(kYouHPFrame, 100), Filled(kOppHPFrame, 100));
    ShowBars(kBarFill, Filled(kYouHPFrame, youHP), Filled(kOppHPFrame, oppHP));
    EndDrawing();
    CheckEnd();
}

void LiteralWait(uint32_t ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
    }
}
