// Decoding of 24-bit bitmap files and where their pixels land, free of any drawing.
#pragma once
#include <cstddef>
#include <cstdint>
#include "duel/buffer.h"

constexpr std::size_t kBmpHeaders = 54;  // 14-byte file header + 40-byte info header
constexpr uint32_t kWhite = 0xFFFFFF;
// Of a larger picture file, only this much is read: the pixels beyond are not drawn.
constexpr long long kMaxPictureBytes = 64ll << 20;

struct Rect {
    int64_t left, top, right, bottom;  // right and bottom excluded
};

struct BmpFile {
    const uint8_t* data = nullptr;
    std::size_t size = 0;
    uint32_t bfSize = 0;
    int32_t width = 0, height = 0;  // as stored
    int64_t stride = 0;             // bytes from one stored row to the next
};

// Reads the headers. False when the file is shorter than its headers.
bool ReadBmpHeaders(const uint8_t* data, std::size_t size, BmpFile& bmp);

// Row padding from the stated file size, (bfSize - 3wh - 54) DIV h. A size too small
// for the pixels falls back to the padding that rounds a row up to 4 bytes.
int64_t RowPadding(uint32_t bfSize, int32_t w, int32_t h);

// The screen rectangle a picture drawn at (x, y) fills: rows y+1..y+h, columns
// x+1..x+w, or x..x+w-1 when mirrored.
Rect Placement(int32_t w, int32_t h, int32_t x, int32_t y, bool mirror);

// The pixels of the picture that fall inside clip, top row first, as 0x00RRGGBB,
// with opaque[i] = 0 where nothing is to be drawn (see-through white, or bytes the
// file doesn't hold). area is the part of the picture's rectangle inside clip.
struct Decoded {
    Rect area{0, 0, 0, 0};
    Buffer<uint32_t> pixels;
    Buffer<uint8_t> opaque;
};
void DecodeBmp(const BmpFile& bmp, int32_t x, int32_t y, bool transparent, bool mirror,
               const Rect& clip, Decoded& out);

// The colour value red + 256 green + 65536 blue.
constexpr uint32_t RGB24(uint32_t r, uint32_t g, uint32_t b) { return ((b << 8 | g) << 8) | r; }

// The position to hand DispBmp so that a w x h picture stands with its bottom row on
// row base and its middle over column centre: (centre - w DIV 2, base - h). False when
// that lies outside 16-bit coordinates, and the picture is then not drawn.
bool StandingPlace(int32_t w, int32_t h, int64_t centre, int64_t base, int16_t& x, int16_t& y);
