// Lookups in "master.dat": move, trainer and creature names, and move damage.
#pragma once
#include <cstddef>
#include <cstdint>
#include "data/records.h"
#include "duel/text.h"

// Each lookup opens, scans and closes the file anew, so an edit shows at once.
// A number without a record gives "Not found.".
void GetMove(int16_t n, char* name, std::size_t cap);
void GetTrainer(int16_t n, char* name, std::size_t cap);
void GetName(int16_t n, char* name, std::size_t cap);
// The damage of move n; 0 for a move without a record or with a value that is not a number.
int32_t GetDamage(int16_t n);

// Names looked up together, in one pass over the file: each gets what its own lookup, made
// in turn at that moment, would give. The start-up's eight names are asked this way.
struct NameLookup {
    int section;  // kMoves, kTrainers or kNames
    int16_t n;
    char* name;
    std::size_t cap;
};
void GetNames(const NameLookup* lookups, int count);  // at most kMaxWanted

template <std::size_t N> void GetMove(int16_t n, Text<N>& name) { GetMove(n, name.c, N); }
template <std::size_t N> void GetTrainer(int16_t n, Text<N>& name) { GetTrainer(n, name.c, N); }
template <std::size_t N> void GetName(int16_t n, Text<N>& name) { GetName(n, name.c, N); }
