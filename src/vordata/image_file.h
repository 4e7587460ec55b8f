// The images vordata makes pictures of: Windows bitmaps of 24 or 32 bits.
#pragma once
#include <cstddef>
#include <cstdint>
#include "data/records_write.h"
#include "duel/buffer.h"

// The pixels of a 24- or 32-bit bitmap file, uncompressed or with bit fields, rows top first,
// each red, green, blue, alpha. The alpha comes from the file's alpha bit field, or in a
// 32-bit file without bit fields from each pixel's fourth byte unless all of them are 0;
// otherwise every pixel is opaque. False, with why, when it is no such bitmap.
bool DecodeImage(const uint8_t* data, std::size_t size, Buffer<uint8_t>& rgba, int32_t& w,
                 int32_t& h, Said& why);
// The same from a file.
bool ReadImageFile(const char* name, Buffer<uint8_t>& rgba, int32_t& w, int32_t& h, Said& why);
