// Bitmap decoding: bottom-up rows of blue, green, red with padding taken from bfSize.
#include "gfx/bitmap.h"
#include <algorithm>

static uint32_t U32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

bool ReadBmpHeaders(const uint8_t* data, std::size_t size, BmpFile& bmp) {
    bmp = BmpFile{};
    if (size < kBmpHeaders) return false;
    bmp.data = data;
    bmp.size = size;
    bmp.bfSize = U32(data + 2);
    bmp.width = static_cast<int32_t>(U32(data + 18));
    bmp.height = static_cast<int32_t>(U32(data + 22));
    if (bmp.width > 0 && bmp.height > 0)
        bmp.stride = 3 * int64_t(bmp.width) + RowPadding(bmp.bfSize, bmp.width, bmp.height);
    return true;
}

static int64_t FloorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

int64_t RowPadding(uint32_t bfSize, int32_t w, int32_t h) {
    if (w <= 0 || h <= 0) return 0;
    const int64_t row = 3 * int64_t(w);
    const int64_t rounded = (4 - row % 4) % 4;
    if (row > int64_t(bfSize)) return rounded;  // also keeps row * h below overflow
    int64_t pad = FloorDiv(int64_t(bfSize) - row * h - int64_t(kBmpHeaders), h);
    return pad < 0 ? rounded : pad;
}

Rect Placement(int32_t w, int32_t h, int32_t x, int32_t y, bool mirror) {
    int64_t left = mirror ? int64_t(x) : int64_t(x) + 1;
    return Rect{left, int64_t(y) + 1, left + w, int64_t(y) + 1 + h};
}

bool StandingPlace(int32_t w, int32_t h, int64_t centre, int64_t base, int16_t& x, int16_t& y) {
    int64_t left = centre - FloorDiv(w, 2), top = base - h;
    if (left < INT16_MIN || left > INT16_MAX || top < INT16_MIN || top > INT16_MAX) return false;
    x = int16_t(left);
    y = int16_t(top);
    return true;
}

void DecodeBmp(const BmpFile& bmp, int32_t x, int32_t y, bool transparent, bool mirror,
               const Rect& clip, Decoded& out) {
    out.area = Rect{0, 0, 0, 0};
    out.pixels.clear();
    out.opaque.clear();
    const int64_t w = bmp.width, h = bmp.height;
    if (w <= 0 || h <= 0 || !bmp.data) return;

    Rect place = Placement(bmp.width, bmp.height, x, y, mirror);
    Rect a{std::max(place.left, clip.left), std::max(place.top, clip.top),
           std::min(place.right, clip.right), std::min(place.bottom, clip.bottom)};
    // Rows the file can't hold are not drawn, which bounds the work by the file's size.
    int64_t rowsHeld = (int64_t(bmp.size) - int64_t(kBmpHeaders)) / bmp.stride + 1;
    a.top = std::max(a.top, place.bottom - std::min(h, rowsHeld));
    if (a.left >= a.right || a.top >= a.bottom) return;

    const int64_t aw = a.right - a.left, ah = a.bottom - a.top;
    out.area = a;
    const std::size_t count = static_cast<std::size_t>(aw * ah);
    if (!out.pixels.reset(count) || !out.opaque.reset(count)) {
        out.pixels.clear();
        out.opaque.clear();
        out.area = Rect{0, 0, 0, 0};
        return;
    }
    for (int64_t row = a.top; row < a.bottom; row++) {
        int64_t k = place.bottom - 1 - row;  // stored rows run bottom-up
        int64_t rowStart = int64_t(kBmpHeaders) + k * bmp.stride;
        for (int64_t col = a.left; col < a.right; col++) {
            int64_t j = mirror ? place.right - 1 - col : col - place.left;
            int64_t at = rowStart + 3 * j;
            if (at + 3 > int64_t(bmp.size)) continue;
            const uint8_t* p = bmp.data + at;
            uint32_t c = RGB24(p[2], p[1], p[0]);
            if (transparent && c == kWhite) continue;
            std::size_t i = static_cast<std::size_t>((row - a.top) * aw + (col - a.left));
            out.pixels[i] = c;
            out.opaque[i] = 1;
        }
    }
}
