// The record scan behind every database lookup, and the rule it applies to each line.
#pragma once
#include <cstdint>
#include "data/lines.h"

enum class Layout { KeyValue, Columns };
enum class ScanResult { Found, NotFound, ReadError };

// The database's four sections, in the order the file normally has them.
struct Section {
    const char* header;
    Layout layout;
};
extern const Section kSections[4];  // [Moves], [Trainers], [Names], [Damage]

// Splits a line at its first "="; a line without one is both key and value.
void SplitKeyValue(const char* line, Text<255>& key, Text<255>& value);

// How the scan sees one line while it looks for the records of the section `header`.
struct LineView {
    bool blank = true;    // blanks only: neither a header nor a record
    bool header = false;  // the section's header: its records follow
    int32_t key = 0;      // the record's number, or kNotANumber
    Text<255> value;      // the record's value; in the column layout, its name
};
void ViewLine(const char* line, const char* header, Layout layout, LineView& view);

// Reads lines until the first record keyed n after the section's header line: sections
// begin at their header and never end, and the first match wins. On Found, result holds
// the record's value (or, in the column layout, its name).
ScanResult ScanRecords(LineReader& in, const char* header, Layout layout, int16_t n,
                       Text<255>& result);
