// Bitmap encoding: the two headers, then the rows from the bottom, blue, green, red.
#include "gfx/bitmap_write.h"
#include "gfx/bitmap.h"

static void Put(uint8_t* p, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; i++) p[i] = uint8_t(v >> (8 * i));
}

bool EncodeBmp(const uint32_t* pixels, int32_t w, int32_t h, Buffer<uint8_t>& file) {
    const uint32_t rowBytes = (3 * uint32_t(w) + 3) / 4 * 4, pixelBytes = rowBytes * uint32_t(h);
    if (!file.reset(kBmpHeaders + pixelBytes)) return false;
    uint8_t* head = file.data();
    head[0] = 'B';
    head[1] = 'M';
    Put(head + 2, uint32_t(kBmpHeaders) + pixelBytes, 4);
    Put(head + 10, uint32_t(kBmpHeaders), 4);
    Put(head + 14, 40, 4);
    Put(head + 18, uint32_t(w), 4);
    Put(head + 22, uint32_t(h), 4);
    Put(head + 26, 1, 2);
    Put(head + 28, 24, 2);
    Put(head + 34, pixelBytes, 4);
    for (int32_t y = 0; y < h; y++) {
        uint8_t* row = file.data() + kBmpHeaders + (h - 1 - y) * rowBytes;
        for (int32_t x = 0; x < w; x++) {
            const uint32_t c = pixels[y * w + x];
            row[3 * x] = uint8_t(c >> 16);
            row[3 * x + 1] = uint8_t(c >> 8);
            row[3 * x + 2] = uint8_t(c);
        }
    }
    return true;
}
