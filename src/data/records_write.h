// Edits one record of a master.dat, keeping every other line of the file byte for byte.
#pragma once
#include <cstddef>
#include <cstdint>
#include "duel/buffer.h"
#include "duel/text.h"

// One line for the author: why an edit was refused, or what was done.
using Said = Text<320>;

struct RecordEdit {
    int section;       // kMoves, kTrainers, kNames or kDamage
    int16_t number;
    const char* text;  // the name, or the damage in the game's number syntax; null removes
};

// The section a word names, as vordata's commands and the page's studio name them: "moves",
// "trainers", "names" or "damage"; -1 for any other word.
int SectionNamed(const char* word);

// The most characters of a name the duel shows: a creature's 10, a move's 63; a trainer's
// name is shown as far as its line goes.
std::size_t NameRoom(int section);

// The new file from the old one's bytes (none for a missing file).
// - Set: the line the game's lookup finds for the number gets the new text (its key and line
//   end as they were), when that line is one of the section's own, from its header to the
//   next header of another section. Otherwise the record is added after the last record of
//   the section's first stretch, where the lookup meets it first; a missing section is added
//   at the end of the file. A name is cut to what the duel shows of it.
// - Remove: every line of the section's own stretches keyed with the number goes, so that the
//   section holds no record of it any more. Like any number a section lacks, its lookup may
//   then find a line with that number in a section after it (sections never end).
// Lookups of other numbers, and of this number in sections that hold a record of it, give
// what they gave before; an edit that can't keep to that is refused. False, with why, when
// refused or when memory is short; said tells what was done otherwise.
bool EditRecord(const char* old, std::size_t oldSize, const RecordEdit& edit, Buffer<char>& out,
                std::size_t& outSize, Said& said);
