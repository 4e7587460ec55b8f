// vorcheck --screen: the duel screen drawn by the game's own engine on the pixel screen,
// as a full repaint shows it once the opening is over, written as a bitmap file.
#include <cstdio>
#include "check/check.h"
#include "duel/duel.h"
#include "gfx/bitmap_write.h"
#include "gfx/pixel_screen.h"

bool WriteDuelScreen(const char* file) {
    FullHitPoints();
    LoadNames();
    InvalidateScreen();
    onPaint();
    BeginDuel("");
    InvalidateScreen();
    onPaint();

    Buffer<uint8_t> bmp;
    if (!EncodeBmp(screenPixels, kScreenWidth, kScreenHeight, bmp)) return false;
    std::FILE* f = std::fopen(file, "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bmp.data(), 1, bmp.size(), f) == bmp.size();
    return std::fclose(f) == 0 && ok;
}
