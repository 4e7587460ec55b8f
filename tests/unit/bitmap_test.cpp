#include <gtest/gtest.h>
#include <cstring>
#include "bmp_builder.h"
#include "gfx/bitmap.h"

namespace {

const Rect kScreen{0, 0, 600, 450};

// Colour at screen (x, y) after decoding, or -1 where nothing is drawn.
int64_t At(const Decoded& d, int64_t x, int64_t y) {
    const Rect& a = d.area;
    if (x < a.left || x >= a.right || y < a.top || y >= a.bottom) return -1;
    std::size_t i = std::size_t((y - a.top) * (a.right - a.left) + (x - a.left));
    return d.opaque[i] ? int64_t(d.pixels[i]) : -1;
}

// The colour value of a 0xRRGGBB literal.
int64_t Colour(uint32_t rrggbb) { return RGB24(rrggbb >> 16, (rrggbb >> 8) & 0xFF, rrggbb & 0xFF); }

Decoded Decode(const std::vector<uint8_t>& file, int x, int y, bool transparent, bool mirror,
               Rect clip = kScreen) {
    BmpFile bmp;
    Decoded d;
    if (ReadBmpHeaders(file.data(), file.size(), bmp))
        DecodeBmp(bmp, x, y, transparent, mirror, clip, d);
    return d;
}

TEST(Bitmap, ColourValue) {
    EXPECT_EQ(RGB24(255, 0, 0), 0x0000FFu);
    EXPECT_EQ(RGB24(0, 255, 0), 0x00FF00u);
    EXPECT_EQ(RGB24(1, 2, 3), 0x030201u);
}

TEST(Bitmap, PaddingFromTheStatedSize) {
    struct Case {
        int64_t bfSize;
        int32_t w, h;
        int64_t pad;
    };
    const Case cases[] = {
        {54 + 2 * 12, 3, 2, 3},   {54 + 2 * 12, 4, 2, 0},   {54 + 3 * 12 + 2, 3, 3, 3},
        {54 + 7 * 12 + 2, 3, 7, 3}, {54 + 5 * 8, 2, 5, 2},  {54 + 1 * 4, 1, 1, 1},
        {54, 3, 2, 3},  // too small for the pixels: rows rounded up to 4 bytes
        {0, 4, 1, 0},   {54 + 100, 1, 1, 97}, {100, 3, 0, 0}, {100, -3, 2, 0},
        {0xFFFFFFFF, 2000000001, 2000000000, 1},  // sizes whose product overflows
    };
    for (const Case& c : cases)
        EXPECT_EQ(RowPadding(uint32_t(c.bfSize), c.w, c.h), c.pad)
            << c.bfSize << " " << c.w << "x" << c.h;
}

TEST(Bitmap, PicturesStandOnTheirBaseLine) {
    struct Case {
        int32_t w, h;
        int64_t centre, base;
        bool ok;
        int16_t x, y;
    };
    const Case cases[] = {
        {56, 50, 406 + 73, 41 + 138, true, 451, 129},  // opponent's creature
        {57, 50, 406 + 73, 41 + 138, true, 451, 129},  // odd width rounds down
        {56, 50, 11 + 73, 281 + 138, true, 56, 369},   // player's creature
        {56, 40, 11 + 73, 281 + 138, true, 56, 379},
        {56, 80, 11 + 73, 281 + 138, true, 56, 339},
        {100, 80, 478, 178, true, 428, 98},            // opponent's trainer
        {0, 80, 10, 418, true, 10, 338},               // player's trainer, left-aligned
        {-3, 10, 0, 0, true, 2, -10},                  // floor division of a negative width
        {200000, 10, 479, 179, false, 0, 0},
        {10, -40000, 479, 179, false, 0, 0},
    };
    for (const Case& c : cases) {
        int16_t x = 0, y = 0;
        EXPECT_EQ(StandingPlace(c.w, c.h, c.centre, c.base, x, y), c.ok) << c.w << "x" << c.h;
        if (c.ok) {
            EXPECT_EQ(x, c.x) << c.w << "x" << c.h;
            EXPECT_EQ(y, c.y) << c.w << "x" << c.h;
        }
    }
}

TEST(Bitmap, PlacementAndRowOrder) {
    // Stored first row (the bottom): red, green; second: blue, yellow.
    auto file = MakeBmp({{0xFF0000, 0x00FF00}, {0x0000FF, 0xFFFF00}});
    struct Case {
        bool mirror;
        int x0;  // column of each stored row's first pixel
        int step;
    };
    for (Case c : {Case{false, 101, 1}, Case{true, 101, -1}}) {
        Decoded d = Decode(file, 100, 50, true, c.mirror);
        EXPECT_EQ(At(d, c.x0, 52), RGB24(255, 0, 0)) << c.mirror;
        EXPECT_EQ(At(d, c.x0 + c.step, 52), RGB24(0, 255, 0)) << c.mirror;
        EXPECT_EQ(At(d, c.x0, 51), RGB24(0, 0, 255)) << c.mirror;
        EXPECT_EQ(At(d, c.x0 + c.step, 51), RGB24(255, 255, 0)) << c.mirror;
        for (int x = 98; x < 105; x++) EXPECT_EQ(At(d, x, 50), -1) << "row 50 untouched";
    }
}

TEST(Bitmap, PaddingSkippedWithoutShear) {
    for (int w = 1; w <= 6; w++) {
        std::vector<std::vector<uint32_t>> rows;
        for (int k = 0; k < 3; k++) {
            std::vector<uint32_t> row;
            for (int j = 0; j < w; j++) row.push_back(uint32_t(0x010000 * (k + 1) + j));
            rows.push_back(row);
        }
        Decoded d = Decode(MakeBmp(rows, 2), 0, 0, false, false);
        for (int k = 0; k < 3; k++)
            for (int j = 0; j < w; j++)
                EXPECT_EQ(At(d, 1 + j, 3 - k), Colour(rows[k][j]))
                    << "w " << w << " row " << k << " pixel " << j;
    }
}

TEST(Bitmap, OnlyExactWhiteIsSeeThrough) {
    auto file = MakeBmp({{0xFFFFFF, 0xFFFFFE, 0xFEFFFF, 0x000000}});
    Decoded on = Decode(file, 0, 0, true, false);
    EXPECT_EQ(At(on, 1, 1), -1);
    EXPECT_EQ(At(on, 2, 1), RGB24(255, 255, 254));
    EXPECT_EQ(At(on, 3, 1), RGB24(254, 255, 255));
    EXPECT_EQ(At(on, 4, 1), 0);
    Decoded off = Decode(file, 0, 0, false, false);
    EXPECT_EQ(At(off, 1, 1), kWhite);
}

TEST(Bitmap, ClipLimitsTheWork) {
    auto file = MakeBmp(std::vector<std::vector<uint32_t>>(50, std::vector<uint32_t>(40, 0x123456)));
    Decoded d = Decode(file, -10, -10, true, false, Rect{0, 0, 5, 5});
    EXPECT_EQ(d.area.left, 0);
    EXPECT_EQ(d.area.right, 5);
    EXPECT_EQ(d.pixels.size(), 25u);
}

TEST(Bitmap, BadFilesDrawNothingOrWhatIsThere) {
    auto good = MakeBmp({{0x111111, 0x222222}, {0x333333, 0x444444}});
    auto withSize = [&](int32_t w, int32_t h) {
        auto f = good;
        std::memcpy(&f[18], &w, 4);
        std::memcpy(&f[22], &h, 4);
        return f;
    };
    EXPECT_TRUE(Decode(withSize(2, 0), 0, 0, true, false).pixels.empty());
    EXPECT_TRUE(Decode(withSize(2, -2), 0, 0, true, false).pixels.empty());
    EXPECT_TRUE(Decode(withSize(0, 2), 0, 0, true, false).pixels.empty());
    EXPECT_TRUE(Decode(withSize(-1, 2), 0, 0, true, false).pixels.empty());
    EXPECT_TRUE(Decode({good.begin(), good.begin() + 53}, 0, 0, true, false).pixels.empty());

    // Only the first stored row and one pixel of the second are in the file.
    std::vector<uint8_t> cut(good.begin(), good.begin() + 54 + 8 + 3);
    Decoded d = Decode(cut, 0, 0, true, false);
    EXPECT_EQ(At(d, 1, 2), RGB24(0x11, 0x11, 0x11));
    EXPECT_EQ(At(d, 1, 1), RGB24(0x33, 0x33, 0x33));
    EXPECT_EQ(At(d, 2, 1), -1);

    // Millions of pixels claimed by a tiny file: bounded by what the file holds.
    Decoded huge = Decode(withSize(100000000, 100000000), 0, 0, true, false);
    EXPECT_LE(huge.pixels.size(), 600u * 450u);
    Decoded tall = Decode(withSize(2, 2000000000), 0, -1999999000, true, false);
    EXPECT_LE(tall.pixels.size(), 2u * 2u);
}

}  // namespace
