// The record scan behind every database lookup, and the rule it applies to each line.
#pragma once
#include <cstdint>
#include "data/lines.h"

enum class Layout { KeyValue = 0, Columns = 1 };  // also an index
enum class ScanResult { Found, NotFound, ReadError };

// The database's four sections, in the order the file normally has them.
struct Section {
    const char* header;
    Layout layout;
};
extern const Section kSections[4];  // [Moves], [Trainers], [Names], [Damage]
constexpr int kMoves = 0, kTrainers = 1, kNames = 2, kDamage = 3;

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

// One of several records looked for in a single pass over the file.
struct Wanted {
    int section;  // kMoves, kTrainers, kNames or kDamage
    int16_t n;
    bool found;
    Text<255> value;
};
// Reads lines until every wanted record is found, each as its own ScanRecords would find
// it: Found when all are, NotFound when the file ends first, ReadError when a read fails
// first. Records found before the end or the failure keep their values either way.
ScanResult ScanForAll(LineReader& in, Wanted* wanted, int count);
constexpr int kMaxWanted = 16;  // more are not looked for
