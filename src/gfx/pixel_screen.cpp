// The pixel screen: each painting and drawing clips to its own rectangle, a painting to
// what was asked to be redrawn, which it clears to white first.
#include "gfx/pixel_screen.h"
#include <algorithm>
#include "data/files.h"
#include "data/windows1252.h"
#include "duel/screen.h"
#include "gfx/bitmap.h"

extern const unsigned char kFontRows[224][10];  // characters 32 to 255

uint32_t screenPixels[kScreenWidth * kScreenHeight];

namespace {

constexpr uint32_t kOpaque = 0xFF000000, kBlack = kOpaque, kWhitePixel = kOpaque | kWhite;
constexpr int kCharWidth = kLetterWidth, kCharHeight = 10;  // the font's cell
constexpr Rect kWholeScreen{0, 0, kScreenWidth, kScreenHeight};
constexpr Rect kNothing{0, 0, 0, 0};

Rect invalid = kWholeScreen;  // what the next painting redraws
constexpr int kDeepest = 8;
Rect clips[kDeepest];
int depth;

Rect Clip() { return depth > 0 ? clips[std::min(depth, kDeepest) - 1] : kWholeScreen; }

void Begin(const Rect& clip) {
    clips[std::min(depth, kDeepest - 1)] = clip;
    depth++;
}

// Fills [left, right) x [top, bottom), cut to the clip; corners in either order.
void Fill(int64_t left, int64_t top, int64_t right, int64_t bottom, uint32_t colour) {
    const Rect c = Clip();
    const int64_t l = std::max(std::min(left, right), c.left), r = std::min(std::max(left, right), c.right);
    const int64_t t = std::max(std::min(top, bottom), c.top), b = std::min(std::max(top, bottom), c.bottom);
    for (int64_t y = t; y < b; y++)
        std::fill(screenPixels + y * kScreenWidth + l, screenPixels + y * kScreenWidth + std::max(l, r),
                  colour);
}

// Control characters, 127 and the codes Windows-1252 leaves undefined draw as "?".
bool HasGlyph(unsigned char ch) { return ch >= 32 && ch != 127 && Windows1252ToUnicode(ch) != 0; }

void Glyph(int64_t x, int64_t y, unsigned char ch) {
    const unsigned char* rows = kFontRows[(HasGlyph(ch) ? ch : '?') - 32];
    for (int row = 0; row < kCharHeight; row++)
        for (int col = 0; col < kCharWidth; col++)
            if (rows[row] & (0x80 >> col)) Fill(x + col, y + row, x + col + 1, y + row + 1, kBlack);
}

}  // namespace

void InvalidateScreen() { invalid = kWholeScreen; }

void BeginPainting() {
    Begin(invalid);
    invalid = kNothing;
    const Rect c = Clip();
    Fill(c.left, c.top, c.right, c.bottom, kWhitePixel);
}

void EndPainting() { depth--; }
void BeginDrawing() { Begin(kWholeScreen); }
void EndDrawing() { depth--; }

void ShowText(int x, int y, const char* text, bool opaque) {
    for (int64_t at = x; *text; text++, at += kCharWidth) {
        if (opaque) Fill(at, y, at + kCharWidth, int64_t(y) + kCharHeight, kWhitePixel);
        Glyph(at, y, static_cast<unsigned char>(*text));
    }
}

void ShowFrame(int left, int top, int right, int bottom) {
    Fill(left, top, right, bottom, kBlack);
    Fill(left + 1, top + 1, right - 1, bottom - 1, kWhitePixel);
}

void ShowBars(uint32_t colour, const Bar& you, const Bar& opp) {
    for (const Bar* b : {&you, &opp})
        Fill(b->left, b->top, int64_t(b->left) + b->length, b->bottom, kOpaque | colour);
}

void ShowPicture(const char* file, Stand place, bool mirror) {
    Buffer<uint8_t> data;
    BmpFile bmp;
    int16_t x, y;
    if (!ReadWholeFile(file, data, kMaxPictureBytes) || !ReadBmpHeaders(data.data(), data.size(), bmp) ||
        !StandPlace(place, bmp.width, bmp.height, x, y))
        return;
    Decoded d;
    DecodeBmp(bmp, x, y, true, mirror, Clip(), d);
    const int64_t w = d.area.right - d.area.left;
    for (int64_t row = d.area.top; row < d.area.bottom; row++)
        for (int64_t col = d.area.left; col < d.area.right; col++) {
            const std::size_t i = std::size_t((row - d.area.top) * w + (col - d.area.left));
            if (d.opaque[i]) screenPixels[row * kScreenWidth + col] = kOpaque | d.pixels[i];
        }
}
