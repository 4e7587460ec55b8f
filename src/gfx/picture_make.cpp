// Picture making: the image fitted to its room by an area average over premultiplied
// colours, or enlarged by a whole number; then see-through and white sorted out.
#include "gfx/picture_make.h"
#include "gfx/bitmap.h"
#include "gfx/bitmap_write.h"
#include "gfx/places.h"
#include "duel/layout.h"

namespace {

// The size of the grid the image is averaged into, and the whole number it is enlarged by.
void Fit(int32_t w, int32_t h, int32_t roomW, int32_t roomH, int32_t& gw, int32_t& gh, int32_t& scale) {
    scale = 1;
    if (w <= roomW && h <= roomH) {
        gw = w;
        gh = h;
        scale = roomW / w < roomH / h ? roomW / w : roomH / h;
    } else if (int64_t(w) * roomH >= int64_t(h) * roomW) {  // the width bounds it
        gw = roomW;
        gh = int32_t((2 * int64_t(h) * roomW + w) / (2 * int64_t(w)));
    } else {
        gh = roomH;
        gw = int32_t((2 * int64_t(w) * roomH + h) / (2 * int64_t(h)));
    }
    if (gw < 1) gw = 1;
    if (gh < 1) gh = 1;
}

// Calls add(i, overlap) for each cell of a grid of `cells` that the source cell `at` of
// `count` overlaps, in units where a source cell is `cells` long and a grid cell `count`.
template <typename Add>
void Overlaps(int64_t at, int64_t count, int64_t cells, Add add) {
    int64_t from = at * cells, to = from + cells;
    for (int64_t i = from / count; from < to; i++) {
        const int64_t end = (i + 1) * count < to ? (i + 1) * count : to;
        add(i, end - from);
        from = end;
    }
}

// Every grid cell's sums of red, green and blue times alpha, and of alpha, each weighted by
// the area of the image it covers: the image's w x h in the units of Overlaps.
bool Average(const uint8_t* rgba, int32_t w, int32_t h, int32_t gw, int32_t gh, Buffer<uint64_t>& sums) {
    Buffer<uint64_t> row;
    if (!sums.reset(std::size_t(gw) * gh * 4) || !row.reset(std::size_t(gw) * 4)) return false;
    for (int32_t y = 0; y < h; y++) {
        for (uint64_t& v : row) v = 0;
        const uint8_t* p = rgba + std::size_t(y) * w * 4;
        for (int32_t x = 0; x < w; x++, p += 4) {
            const uint64_t a = p[3], c[4] = {p[0] * a, p[1] * a, p[2] * a, a};
            Overlaps(x, w, gw, [&](int64_t i, int64_t part) {
                for (int k = 0; k < 4; k++) row[std::size_t(i) * 4 + k] += c[k] * uint64_t(part);
            });
        }
        Overlaps(y, h, gh, [&](int64_t i, int64_t part) {
            uint64_t* to = sums.data() + std::size_t(i) * gw * 4;
            for (std::size_t k = 0; k < row.size(); k++) to[k] += row[k] * uint64_t(part);
        });
    }
    return true;
}

// A w x h trainer picture at its place lies within r.
bool Within(Stand place, int32_t w, int32_t h, const Rect& r) {
    int16_t x, y;
    if (!StandPlace(place, w, h, x, y)) return false;
    const Rect at = Placement(w, h, x, y, false);  // trainers are never mirrored
    return at.left >= r.left && at.top >= r.top && at.right <= r.right && at.bottom <= r.bottom;
}

}  // namespace

// A creature's room is its frame's inside. A trainer's is as much of the picture box it
// stands in as its place reaches, since the opening wipes that box when it sends the
// creature out.
void PictureRoom(PictureKind kind, int32_t& w, int32_t& h) {
    w = kFrameWidth;
    h = kFrameHeight;
    if (kind == PictureKind::Creature) return;
    const Stand place = kind == PictureKind::Trainer ? Stand::OppTrainer : Stand::YourTrainer;
    const Box& box = kind == PictureKind::Trainer ? kOppPictureFrame : kYouPictureFrame;
    const Rect inside{box.left + 1, box.top + 1, box.right - 1, box.bottom - 1};
    while (w > 0 && !Within(place, w, 1, inside)) w--;
    while (h > 0 && !Within(place, 1, h, inside)) h--;
}

bool MakePicture(const uint8_t* rgba, int32_t w, int32_t h, PictureKind kind, Buffer<uint8_t>& file,
                 PictureReport& report) {
    report = PictureReport();
    if (w <= 0 || h <= 0 || int64_t(w) * h > kMaxImagePixels) return false;
    int32_t roomW, roomH, gw, gh, scale;
    PictureRoom(kind, roomW, roomH);
    Fit(w, h, roomW, roomH, gw, gh, scale);
    Buffer<uint64_t> sums;
    Buffer<uint32_t> pixels;
    const int32_t pw = gw * scale, ph = gh * scale;
    if (!Average(rgba, w, h, gw, gh, sums) || !pixels.reset(std::size_t(pw) * ph)) return false;

    const uint64_t whole = uint64_t(w) * uint64_t(h) * 255;  // the sums of a cell that is all opaque
    for (int32_t gy = 0; gy < gh; gy++)
        for (int32_t gx = 0; gx < gw; gx++) {
            const uint64_t* s = sums.data() + (std::size_t(gy) * gw + gx) * 4;
            uint32_t colour = kWhite;
            if (2 * s[3] < whole) {
                report.seeThrough += int64_t(scale) * scale;
            } else {
                uint32_t c[3];
                for (int k = 0; k < 3; k++)
                    c[k] = uint32_t((s[k] + 255 * (whole - s[3]) + whole / 2) / whole);
                colour = RGB24(c[0], c[1], c[2]);
                if (colour == kWhite) {
                    colour = RGB24(255, 255, 254);
                    report.keptVisible += int64_t(scale) * scale;
                }
            }
            for (int32_t y = gy * scale; y < (gy + 1) * scale; y++)
                for (int32_t x = gx * scale; x < (gx + 1) * scale; x++)
                    pixels[std::size_t(y) * pw + x] = colour;
        }
    report.width = pw;
    report.height = ph;
    report.scale = scale;
    report.shrunk = gw < w || gh < h;
    return EncodeBmp(pixels.data(), pw, ph, file);
}
