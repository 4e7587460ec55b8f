// The records of the database as the game's lookups find them, for a program that lists
// them all.
#pragma once
#include <cstdint>
#include "data/records.h"

// Calls visit, in file order, for every section and number a lookup finds a record for in
// path + "master.dat": with the value it finds, and whether that line lies among the
// section's own lines (TakeLine). A list of a section shows its own ones. False when the
// file can't be read to its end.
using RecordVisit = void (*)(int section, int16_t number, const char* value, bool own, void* context);
bool ListRecords(RecordVisit visit, void* context);
