// Pictures made from images, read back by the game's own decoder.
#include <gtest/gtest.h>
#include <vector>
#include "gfx/bitmap.h"
#include "gfx/picture_make.h"

namespace {

// The picture as the game draws it: each pixel's colour, or -1 where it is see-through.
std::vector<int64_t> Drawn(const std::vector<uint8_t>& rgba, int32_t w, int32_t h, PictureKind kind,
                           PictureReport& r) {
    Buffer<uint8_t> file;
    EXPECT_TRUE(MakePicture(rgba.data(), w, h, kind, file, r));
    BmpFile bmp;
    EXPECT_TRUE(ReadBmpHeaders(file.data(), file.size(), bmp));
    EXPECT_EQ(bmp.width, r.width);
    EXPECT_EQ(bmp.height, r.height);
    Decoded d;
    DecodeBmp(bmp, -1, -1, true, false, Rect{0, 0, r.width, r.height}, d);
    std::vector<int64_t> out;
    for (std::size_t i = 0; i < d.pixels.size(); i++) out.push_back(d.opaque[i] ? int64_t(d.pixels[i]) : -1);
    return out;
}

TEST(PictureMake, SeeThroughBecomesWhiteAndWhiteStaysVisible) {
    const std::vector<uint8_t> image = {
        0,   0, 0,   0,   255, 255, 255, 255, 10,  20,  30, 255, 255, 255, 255, 127,
        200, 0, 100, 128, 255, 255, 255, 200, 255, 254, 255, 255, 0, 0, 0, 64,
    };
    const int64_t expected[8] = {-1, RGB24(255, 255, 254), RGB24(10, 20, 30), -1,
                                 RGB24(227, 127, 177), RGB24(255, 255, 254), RGB24(255, 254, 255), -1};
    PictureReport r;
    const std::vector<int64_t> drawn = Drawn(image, 4, 2, PictureKind::Creature, r);
    ASSERT_EQ(r.scale, 36);  // 145 / 4 and 138 / 2: the smaller whole number
    for (int32_t y = 0; y < r.height; y++)
        for (int32_t x = 0; x < r.width; x++)
            ASSERT_EQ(drawn[std::size_t(y) * r.width + x], expected[y / 36 * 4 + x / 36]) << x << "," << y;
    EXPECT_EQ(r.seeThrough, 3 * 36 * 36);
    EXPECT_EQ(r.keptVisible, 2 * 36 * 36);
}

TEST(PictureMake, FittingKeepsTheShape) {
    const struct {
        PictureKind kind;
        int32_t w, h, fw, fh;
    } cases[] = {
        {PictureKind::Creature, 145, 138, 145, 138}, {PictureKind::Creature, 290, 138, 145, 69},
        {PictureKind::Creature, 1000, 1000, 138, 138}, {PictureKind::Creature, 1, 1000, 1, 138},
        {PictureKind::Creature, 3000, 1, 145, 1},     {PictureKind::Creature, 40, 30, 120, 90},
        {PictureKind::Trainer, 288, 276, 144, 138},   {PictureKind::Back, 290, 276, 145, 138},
        {PictureKind::Trainer, 72, 10, 144, 20},
    };
    for (const auto& c : cases) {
        PictureReport r;
        Drawn(std::vector<uint8_t>(std::size_t(c.w) * c.h * 4, 255), c.w, c.h, c.kind, r);
        EXPECT_EQ(r.width * 1000 + r.height, c.fw * 1000 + c.fh) << c.w << " x " << c.h;
    }
}

// Shrunk, each pixel is the average of what it covers, weighed by how opaque it is: a
// see-through red pixel's colour counts for nothing beside an opaque black one.
TEST(PictureMake, ShrinkingAveragesByOpacity) {
    std::vector<uint8_t> image;
    for (int i = 0; i < 290 * 4; i++)
        image.insert(image.end(), {uint8_t(i % 2 ? 255 : 0), 0, 0, uint8_t(i % 2 ? 0 : 255)});
    PictureReport r;
    for (int64_t c : Drawn(image, 290, 4, PictureKind::Creature, r)) ASSERT_EQ(c, RGB24(128, 128, 128));
    EXPECT_EQ(r.width * r.height, 145 * 2);
}

}  // namespace
