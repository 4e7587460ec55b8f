// The record scan behind every database lookup.
#pragma once
#include <cstdint>
#include "data/lines.h"

enum class Layout { KeyValue, Columns };
enum class ScanResult { Found, NotFound, ReadError };

// Splits a line at its first "="; a line without one is both key and value.
void SplitKeyValue(const char* line, Text<255>& key, Text<255>& value);

// Reads lines until the first record keyed n after the section's header line.
// On Found, result holds the record's value (or, in the column layout, its name).
ScanResult ScanRecords(LineReader& in, const char* header, Layout layout, int16_t n,
                       Text<255>& result);
