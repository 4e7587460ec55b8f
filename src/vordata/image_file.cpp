// Bitmap reading for vordata: the headers checked against the file's size, then each pixel's
// channels picked out by their bit fields.
#include "vordata/image_file.h"
#include "data/files.h"
#include "data/number.h"
#include "gfx/picture_make.h"

namespace {

uint32_t U32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

constexpr uint32_t kRgb = 0, kBitFields = 3, kAlphaBitFields = 6;

// One channel's bits in a pixel, scaled to 0-255.
struct Channel {
    uint32_t mask = 0, shift = 0;
    explicit Channel(uint32_t m) : mask(m) {
        while (mask && !(mask >> shift & 1)) shift++;
    }
    uint8_t Of(uint32_t pixel) const {
        return mask ? uint8_t(uint64_t((pixel & mask) >> shift) * 255 / (mask >> shift)) : 0;
    }
};

bool Refuse(Said& why, const char* text) {
    why = text;
    return false;
}

}  // namespace

bool DecodeImage(const uint8_t* data, std::size_t size, Buffer<uint8_t>& rgba, int32_t& w,
                 int32_t& h, Said& why) {
    if (size < 54 || data[0] != 'B' || data[1] != 'M') return Refuse(why, "not a Windows bitmap");
    const uint32_t offset = U32(data + 10), header = U32(data + 14);
    if (header < 40 || 14 + uint64_t(header) > size)
        return Refuse(why, "a kind of bitmap this can't read: save it as a 24- or 32-bit Windows bitmap");
    const int32_t height = int32_t(U32(data + 22));
    const uint32_t bits = data[28] | data[29] << 8, compression = U32(data + 30);
    w = int32_t(U32(data + 18));
    h = height == INT32_MIN ? 0 : height < 0 ? -height : height;  // negative: stored top row first
    if (w <= 0 || h <= 0) return Refuse(why, "the bitmap has no pixels");
    if (bits != 24 && bits != 32)
        return Refuse(why, "not a 24- or 32-bit bitmap: save it with 24 or 32 bits a pixel");
    if (compression != kRgb && !(bits == 32 && (compression == kBitFields || compression == kAlphaBitFields)))
        return Refuse(why, "a compressed bitmap: save it uncompressed");
    if (int64_t(w) * h > kMaxImagePixels) return Refuse(why, "the bitmap has too many pixels");

    // Bit fields stand in the header from its version 2 on, else right behind it.
    uint32_t masks[4] = {0xFF0000, 0xFF00, 0xFF, bits == 32 ? 0xFF000000 : 0};
    if (compression != kRgb) {
        const uint64_t at = header >= 52 ? 54 : 14 + uint64_t(header);
        const int count = header >= 56 || (header < 52 && compression == kAlphaBitFields) ? 4 : 3;
        if (at + 4 * count > size) return Refuse(why, "the file ends within its headers");
        for (int k = 0; k < 4; k++) masks[k] = k < count ? U32(data + at + 4 * k) : 0;
    }
    const Channel red(masks[0]), green(masks[1]), blue(masks[2]), alpha(masks[3]);
    const uint64_t stride = (uint64_t(bits) * w + 31) / 32 * 4;
    if (offset + stride * h > size) return Refuse(why, "the file is shorter than its pixels");
    if (!rgba.reset(std::size_t(w) * h * 4)) return Refuse(why, "not enough memory");

    bool anyAlpha = false;
    for (int32_t k = 0; k < h; k++) {
        const uint8_t* in = data + offset + stride * k;
        uint8_t* out = rgba.data() + std::size_t(height < 0 ? k : h - 1 - k) * w * 4;
        for (int32_t x = 0; x < w; x++, out += 4) {
            if (bits == 24) {
                out[0] = in[3 * x + 2];
                out[1] = in[3 * x + 1];
                out[2] = in[3 * x];
                out[3] = 255;
                continue;
            }
            const uint32_t pixel = U32(in + 4 * x);
            out[0] = red.Of(pixel);
            out[1] = green.Of(pixel);
            out[2] = blue.Of(pixel);
            out[3] = alpha.mask ? alpha.Of(pixel) : 255;
            anyAlpha |= out[3] != 0;
        }
    }
    // Most writers leave the fourth byte of a plain 32-bit bitmap 0: then it says nothing.
    if (compression == kRgb && bits == 32 && !anyAlpha)
        for (std::size_t i = 3; i < rgba.size(); i += 4) rgba[i] = 255;
    return true;
}

bool ReadImageFile(const char* name, Buffer<uint8_t>& rgba, int32_t& w, int32_t& h, Said& why) {
    Buffer<uint8_t> file;
    // The pixels of the largest image taken, its headers and bit fields besides.
    if (!ReadWholeFile(name, file, 4 * kMaxImagePixels + 4096)) {
        why = "can't read ";
        why += name;
        return false;
    }
    return DecodeImage(file.data(), file.size(), rgba, w, h, why);
}
