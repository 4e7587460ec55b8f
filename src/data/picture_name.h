// File names of the pictures (path, a prefix, the number in decimal, ".bmp"), and when
// two names are one file's.
#pragma once
#include <cstdint>
#include "duel/text.h"

// The pictures of the records, and the prefixes of their names: none for a creature's; for a
// trainer's, "t" seen from in front (the opponent's) and "back" seen from behind (the player's).
enum class PictureKind { Creature, Trainer, Back };
constexpr char kCreaturePicture[] = "", kTrainerPicture[] = "t", kBackPicture[] = "back";
constexpr const char* kPicturePrefix[] = {kCreaturePicture, kTrainerPicture, kBackPicture};

// The kind a word names, as vordata's commands and the page's studio name them: "creature",
// "trainer" or "back"; -1 for any other word.
int PictureKindNamed(const char* word);

// "7.bmp" for creature 7, "back3.bmp" and "t12.bmp" for trainers; no leading zeros.
void PictureName(Text<255>& name, const char* prefix, int16_t number);
// The same file name without the folder.
void PictureFile(Text<255>& name, const char* prefix, int16_t number);

// True when Windows takes a and b for the same file's name: the case of the letters A to Z
// does not count.
bool SameFileName(const char* a, const char* b);
