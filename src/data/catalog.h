// The records of one section as the game's lookups find them, for a program that lists
// them: every number keyed in the section's own lines, once, with the value its lookup gives.
#pragma once
#include <cstdint>
#include "data/records.h"

// Calls visit for each record in file order; false when path + "master.dat" can't be read.
using RecordVisit = void (*)(int16_t number, const char* value, void* context);
bool ListRecords(const char* header, Layout layout, RecordVisit visit, void* context);
