// vorcheck --screen: the duel screen drawn by the game's own engine on the pixel screen,
// as a full repaint shows it once the opening is over, written as a bitmap file.
#include <cstdio>
#include "check/check.h"
#include "duel/duel.h"
#include "gfx/pixel_screen.h"

namespace {

constexpr uint32_t kRowBytes = (3 * kScreenWidth + 3) / 4 * 4;
constexpr uint32_t kPixelBytes = kRowBytes * kScreenHeight;

void Put(uint8_t* p, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; i++) p[i] = uint8_t(v >> (8 * i));
}

}  // namespace

bool WriteDuelScreen(const char* file) {
    FullHitPoints();
    LoadNames();
    InvalidateScreen();
    onPaint();
    BeginDuel("");
    InvalidateScreen();
    onPaint();

    uint8_t head[54] = {'B', 'M'};
    Put(head + 2, 54 + kPixelBytes, 4);
    Put(head + 10, 54, 4);
    Put(head + 14, 40, 4);
    Put(head + 18, kScreenWidth, 4);
    Put(head + 22, kScreenHeight, 4);
    Put(head + 26, 1, 2);
    Put(head + 28, 24, 2);
    Put(head + 34, kPixelBytes, 4);
    std::FILE* f = std::fopen(file, "wb");
    if (!f) return false;
    bool ok = std::fwrite(head, 1, sizeof head, f) == sizeof head;
    uint8_t row[kRowBytes] = {};
    for (int y = kScreenHeight - 1; y >= 0 && ok; y--) {  // bottom row first
        for (int x = 0; x < kScreenWidth; x++) {
            const uint32_t c = screenPixels[y * kScreenWidth + x];
            row[3 * x] = uint8_t(c >> 16);  // blue, green, red
            row[3 * x + 1] = uint8_t(c >> 8);
            row[3 * x + 2] = uint8_t(c);
        }
        ok = std::fwrite(row, 1, sizeof row, f) == sizeof row;
    }
    return std::fclose(f) == 0 && ok;
}
