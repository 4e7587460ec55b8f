// Writing into a data folder: one record of its master.dat, or one picture, each file
// replaced whole so that a failure leaves it as it was.
#pragma once
#include <cstdint>
#include "data/picture_name.h"
#include "data/records_write.h"

// Edits folder + "master.dat" (a missing one is begun). folder ends in its separator, or is
// empty for the current folder. False, with why, when refused or when the file can't be
// read or written; said tells what was done otherwise.
bool WriteRecord(const char* folder, const RecordEdit& edit, Said& said);

// Writes the picture of a creature or trainer, named as the game looks for it, from an image
// of w x h pixels, rows top first, each red, green, blue, alpha (see MakePicture).
bool WritePicture(const char* folder, PictureKind kind, int16_t number, const uint8_t* rgba,
                  int32_t w, int32_t h, Said& said);
