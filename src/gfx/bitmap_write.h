// Encoding of the bitmap files the game reads: 24-bit, uncompressed, bottom row first.
#pragma once
#include <cstdint>
#include "duel/buffer.h"

// The file of a w x h picture from its pixels (top row first, each the colour value red +
// 256 green + 65536 blue), its rows padded to 4 bytes as the game's reader expects. False
// when memory is short.
bool EncodeBmp(const uint32_t* pixels, int32_t w, int32_t h, Buffer<uint8_t>& file);
