// Differential fuzzing of the record scan: the fast in-place scan, the line-by-line rule the
// data checker applies, and a plain one-byte-at-a-time scan must agree on every input,
// block size and failing read, with line ends found either way.
#include <cstring>
#include "data/records.h"
#include "memory_files.h"
#include "reference_scan.h"

namespace {

// The data checker's way: ReadLine, then ViewLine on each line.
Outcome LineByLine(const char* header, Layout layout, int16_t n) {
    static LineReader in;
    int16_t status;
    StartLines(in, OpenForReading("", status));
    Text<255> line;
    LineView view;
    bool inSection = false;
    for (;;) {
        status = ReadLine(in, line);
        if (status != kStatusOk && status != kStatusEnd && status != kStatusCut)
            return {ScanResult::ReadError, {}};
        ViewLine(line, header, layout, view);
        if (view.header) inSection = true;
        else if (inSection && !view.blank && view.key == n) return {ScanResult::Found, view.value};
        if (status == kStatusEnd) return {ScanResult::NotFound, {}};
    }
}

Outcome Fast(const char* header, Layout layout, int16_t n) {
    static LineReader in;
    int16_t status;
    StartLines(in, OpenForReading("", status));
    Text<255> result;
    Outcome out{ScanRecords(in, header, layout, n, result), {}};
    if (out.result == ScanResult::Found) out.value = result;
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ScanInput in;
    if (!Decode(data, size, in)) return 0;
    in.Load();
    Outcome fast = Fast(kHeaders[in.section], in.layout(), in.n);
    in.Load();
    Outcome lines = LineByLine(kHeaders[in.section], in.layout(), in.n);
    Outcome reference = Reference(Bytes{in.text, in.length, 0, in.failAt}, kHeaders[in.section],
                                  in.section == 2, in.n);
    if (fast != reference || lines != reference) __builtin_trap();
    return 0;
}
