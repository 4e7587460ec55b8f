// Turns an image of any size, with see-through parts, into a picture file the game draws.
#pragma once
#include <cstdint>
#include "data/picture_name.h"
#include "duel/buffer.h"

// The largest picture of the kind: a creature's frame's inside; a trainer's, what its place
// leaves it of the picture box it stands in.
void PictureRoom(PictureKind kind, int32_t& w, int32_t& h);

constexpr int64_t kMaxImagePixels = int64_t(1) << 27;

struct PictureReport {
    int32_t width = 0, height = 0;  // of the picture written
    int32_t scale = 1;              // the whole number a small image was enlarged by
    bool shrunk = false;            // scaled down to fit, its shape kept
    int64_t seeThrough = 0;         // pixels less than half opaque, made the see-through white
    int64_t keptVisible = 0;        // opaque pure white pixels, made the nearest colour that shows
};

// The picture file of an image of w x h pixels, rows top first, each pixel red, green, blue
// and alpha. An image larger than the kind's room is scaled down to fit, each pixel the
// average of the area it covers; a smaller one is enlarged by the largest whole number that
// fits. A pixel less than half opaque becomes white; a more opaque one is laid over the
// white screen, and if that gives pure white it becomes 255, 255, 254. False when the image
// has no pixels or more than kMaxImagePixels, or when memory is short.
bool MakePicture(const uint8_t* rgba, int32_t w, int32_t h, PictureKind kind, Buffer<uint8_t>& file,
                 PictureReport& report);
