// Differential fuzzing of the record scan: the fast in-place scan, the line-by-line rule the
// data checker applies, and a plain one-byte-at-a-time scan written here must agree on
// every input, block size and failing read, with line ends found either way.
#include <cstring>
#include "data/number.h"
#include "data/records.h"
#include "memory_files.h"

namespace {

const char* const kHeaders[] = {"[Moves]", "[Trainers]", "[Names]", "[Damage]"};

struct Outcome {
    ScanResult result;
    Text<255> value;
    bool operator!=(const Outcome& o) const { return result != o.result || value != o.value.str(); }
};

// The reference: bytes one at a time; the read at failAt (if within reach) fails.
struct Bytes {
    const uint8_t* data;
    std::size_t size, at = 0, failAt;
    int Peek(bool& failed) const {
        if (at == failAt) {
            failed = true;
            return -1;
        }
        return at < size ? data[at] : -1;
    }
};

Outcome Reference(Bytes in, const char* header, bool columns, int16_t n) {
    bool inSection = false, failed = false;
    for (;;) {
        char line[255];
        std::size_t used = 0;
        bool end = false;
        for (;;) {
            int c = in.Peek(failed);
            if (c < 0) { end = true; break; }
            if (c == '\r' || c == '\n') {
                in.at++;
                bool unreadable = false;
                if (c == '\r' && in.Peek(unreadable) == '\n') in.at++;
                failed |= unreadable;
                break;
            }
            if (used == 254) break;  // cut: the rest is the next line
            line[used++] = char(c);
            in.at++;
        }
        if (end && failed) return {ScanResult::ReadError, {}};
        line[used] = 0;
        const std::size_t length = std::strlen(line);  // the game's texts end at a NUL
        char key[255];
        const char* value = line;
        std::strcpy(key, line);
        if (columns) {
            key[length < 3 ? length : 3] = 0;
            value = length > 4 ? line + 4 : "";
        } else if (char* eq = std::strchr(line, '=')) {
            key[eq - line] = 0;
            value = eq + 1;
        }
        bool blank = std::strspn(line, " ") == length;
        bool isHeader = !blank && std::strcmp(columns ? line : value, header) == 0;
        int32_t number;
        if (isHeader) {
            inSection = true;
        } else if (inSection && ParseNumber(key, number) && number == n) {
            Outcome found{ScanResult::Found, {}};
            found.value = value;
            return found;
        }
        if (end) return {ScanResult::NotFound, {}};
        if (failed) return {ScanResult::ReadError, {}};  // the byte after a CR was unreadable
    }
}

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

// Several records in one pass, each against its own reference scan.
bool AllAgree(const uint8_t* text, std::size_t length, long block, long failing,
              std::size_t failAt, int section, int16_t n) {
    Wanted wanted[] = {{section, n, false, {}},
                       {section, int16_t(n + 1), false, {}},
                       {(section + 1) % 4, n, false, {}},
                       {(section + 2) % 4, int16_t(n - 1), false, {}},
                       {section, n, false, {}}};
    memory_file::Set(text, length, block, failing);
    static LineReader in;
    int16_t status;
    StartLines(in, OpenForReading("", status));
    const ScanResult all = ScanForAll(in, wanted, 5);
    bool allFound = true;
    for (const Wanted& w : wanted) {
        const Outcome ref = Reference(Bytes{text, length, 0, failAt}, kHeaders[w.section],
                                      w.section == 2, w.n);
        if (ref.result == ScanResult::Found) {
            if (!w.found || ref.value != w.value.str()) return false;
        } else if (w.found || (ref.result == ScanResult::ReadError) != (all == ScanResult::ReadError)) {
            return false;
        }
        allFound &= w.found;
    }
    return allFound == (all == ScanResult::Found);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 7) return 0;
    const int16_t n = int16_t(data[0] | data[1] << 8);
    const int section = data[2] % 4;
    const long block = data[3] < 200 ? data[3] + 1 : kBlockBytes;
    const long failing = data[4] < 8 ? long(data[4]) : -1;
    AllowWideScan(data[5] & 1);  // both ways of finding line ends
    const uint8_t* text = data + 6;
    const std::size_t length = size - 6;
    const Layout layout = section == 2 ? Layout::Columns : Layout::KeyValue;

    memory_file::Set(text, length, block, failing);
    Outcome fast = Fast(kHeaders[section], layout, n);
    memory_file::Set(text, length, block, failing);
    Outcome lines = LineByLine(kHeaders[section], layout, n);
    // The reads before the failing one give whole blocks, so it fails at this byte; or at
    // the end, when it is the read that would have found the end.
    std::size_t failAt = std::size_t(-1);
    if (failing >= 0) {
        std::size_t at = std::size_t(failing) * std::size_t(block);
        std::size_t reads = (length + std::size_t(block) - 1) / std::size_t(block);
        if (at <= length) failAt = at;
        else if (std::size_t(failing) == reads) failAt = length;
    }
    Outcome reference = Reference(Bytes{text, length, 0, failAt}, kHeaders[section], section == 2, n);
    if (fast != reference || lines != reference) __builtin_trap();
    if (!AllAgree(text, length, block, failing, failAt, section, n)) __builtin_trap();
    return 0;
}
