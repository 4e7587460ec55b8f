// Differential fuzzing of the listing against the lookups: every record the listing gives,
// in any section, is what the game's own lookup of its number gives, and the lookup of the
// input's number finds a record exactly when the listing has one; the data checker lists
// the same numbers. On every input, block size and failing read.
#include <cstring>
#include "check/check.h"
#include "check/report.h"
#include "data/catalog.h"
#include "duel/state.h"
#include "memory_files.h"
#include "reference_scan.h"

namespace {

struct Listed {
    int section;
    int16_t n;
    bool own;
    Text<255> value;
};
constexpr int kMostListed = 4096;  // an input of up to 1 KiB has fewer lines than this
Listed listed[kMostListed];
int count;

void Collect(int section, int16_t n, const char* value, bool own, void*) {
    if (count == kMostListed) __builtin_trap();
    Listed& l = listed[count++];
    l.section = section;
    l.n = n;
    l.own = own;
    l.value = value;
}

ScanResult Lookup(const ScanInput& in, int section, int16_t n, Text<255>& value) {
    static LineReader reader;
    in.Load();
    int16_t status;
    StartLines(reader, OpenForReading("", status));
    return ScanRecords(reader, kHeaders[section], section == kNames ? Layout::Columns : Layout::KeyValue, n, value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ScanInput in;
    if (!Decode(data, size, in)) return 0;
    in.Load();
    path = "";  // the memory file answers to any name
    count = 0;
    if (!ListRecords(Collect, nullptr)) return 0;  // a read failed: nothing to compare
    bool asked = false;
    for (int i = 0; i < count; i++) {
        Text<255> value;
        if (Lookup(in, listed[i].section, listed[i].n, value) != ScanResult::Found || value != listed[i].value.str())
            __builtin_trap();
        asked |= listed[i].section == in.section && listed[i].n == in.n;
    }
    Text<255> value;
    if (!asked && Lookup(in, in.section, in.n, value) != ScanResult::NotFound) __builtin_trap();

    in.Load();
    ResetFindings();
    CheckOptions options;
    options.all = true;
    SettingLines settings;
    if (!CheckDatabase(options, settings)) __builtin_trap();
    int at[4] = {};
    for (int i = 0; i < count; i++) {
        const Listed& l = listed[i];
        if (!l.own) continue;
        if (at[l.section] >= RecordCount(l.section) || RecordNumber(l.section, at[l.section]++) != l.n)
            __builtin_trap();
    }
    for (int s = 0; s < 4; s++)
        if (at[s] != RecordCount(s)) __builtin_trap();
    return 0;
}
