// Creature pictures: path + number + ".bmp", standing bottom-centred in their frame.
#include <cstdio>
#include "data/files.h"
#include "duel/state.h"
#include "gfx/bitmap.h"
#include "gfx/dib.h"

void LoadPic(int16_t num, int16_t x, int16_t y, bool mirror) {
    char number[8];
    std::snprintf(number, sizeof number, "%d", num);
    Text<255> name;
    name = path;
    name += number;
    name += ".bmp";
    if (!FileExists(name)) return;
    BITMAPINFOHEADER info;
    DIB::GetInfo(name, info);
    int64_t left = int64_t(x) + 73 - HalfDown(info.biWidth);
    int64_t top = int64_t(y) + 138 - int64_t(info.biHeight);
    // A picture too large to place in 16-bit coordinates is not drawn at all.
    if (!Fits16(left) || !Fits16(top)) return;
    DIB::DispBmp(hDC, name, int16_t(left), int16_t(top), true, mirror);
}
