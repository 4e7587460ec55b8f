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

// What the lookups find, for every section and number at once, a line at a time: for the
// programs that show all the records (the chooser's listing, the data checker). The rule
// is the record scan's, and the fuzzers hold the two together.
struct AllRecords {
    bool started[4];  // the section's header has been passed
    int current;      // the section whose header came last, or -1
    uint8_t seen[4][65536 / 8];  // the numbers whose record a lookup finds has been taken
};
void StartAllRecords(AllRecords& all);
// The record a lookup of section `section` and number n finds: value points into the line.
// own: the line lies among the section's own lines, from its header to the next header;
// else it is a line further on that the lookup takes for want of a record of its own.
struct FoundRecord {
    int section;
    int16_t n;
    bool own;
    const char* value;
};
// Takes the file's next line: the records a lookup finds on it, at most one a section, into
// found; returns how many.
int TakeLine(AllRecords& all, const char* line, FoundRecord found[4]);
