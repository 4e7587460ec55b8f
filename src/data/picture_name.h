// File names of the pictures: path, a prefix, the number in decimal, ".bmp".
#pragma once
#include <cstdint>
#include "duel/text.h"

// "7.bmp" for creature 7, "back3.bmp" and "t12.bmp" for trainers; no leading zeros.
void PictureName(Text<255>& name, const char* prefix, int16_t number);
// The same file name without the folder.
void PictureFile(Text<255>& name, const char* prefix, int16_t number);
