// Differential fuzzing of the scan for several records in one pass: each record it finds,
// or misses, must be what the plain one-byte-at-a-time scan finds for it alone, on every
// input, block size and failing read.
#include "data/records.h"
#include "memory_files.h"
#include "reference_scan.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ScanInput in;
    if (!Decode(data, size, in)) return 0;
    // The chosen record, its neighbour, the same number in two other sections, and the
    // chosen one again: each must be found on its own terms.
    Wanted wanted[] = {{in.section, in.n, false, {}},
                       {in.section, int16_t(in.n + 1), false, {}},
                       {(in.section + 1) % 4, in.n, false, {}},
                       {(in.section + 2) % 4, int16_t(in.n - 1), false, {}},
                       {in.section, in.n, false, {}}};
    in.Load();
    static LineReader reader;
    int16_t status;
    StartLines(reader, OpenForReading("", status));
    const ScanResult all = ScanForAll(reader, wanted, 5);
    bool allFound = true;
    for (const Wanted& w : wanted) {
        const Outcome ref = Reference(Bytes{in.text, in.length, 0, in.failAt}, kHeaders[w.section],
                                      w.section == 2, w.n);
        if (ref.result == ScanResult::Found) {
            if (!w.found || ref.value != w.value.str()) __builtin_trap();
        } else if (w.found || (ref.result == ScanResult::ReadError) != (all == ScanResult::ReadError)) {
            __builtin_trap();
        }
        allFound &= w.found;
    }
    if (allFound != (all == ScanResult::Found)) __builtin_trap();
    return 0;
}
