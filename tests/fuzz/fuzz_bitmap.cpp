// Fuzzes bitmap decoding: any file at any place decodes within the clip, without overrun.
#include "gfx/bitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 5) return 0;
    int32_t x = int16_t(data[0] | data[1] << 8), y = int16_t(data[2] | data[3] << 8);
    bool mirror = data[4] & 1, transparent = data[4] & 2;
    BmpFile bmp;
    if (!ReadBmpHeaders(data + 5, size - 5, bmp)) return 0;
    const Rect clip{0, 0, 600, 450};
    Decoded d;
    DecodeBmp(bmp, x, y, transparent, mirror, clip, d);
    if (d.pixels.size() > 600u * 450u || d.pixels.size() != d.opaque.size()) __builtin_trap();
    return 0;
}
