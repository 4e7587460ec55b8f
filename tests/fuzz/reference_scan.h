// The plain scan the fast ones are held to, one byte at a time with the record rule spelled
// out; and how a fuzz input chooses a lookup and a file.
#pragma once
#include <cstddef>
#include <cstdint>
#include "data/records.h"

extern const char* const kHeaders[4];

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
Outcome Reference(Bytes in, const char* header, bool columns, int16_t n);

// The first six bytes choose the lookup, the reads' block size, a failing read and the way
// line ends are found; the rest is the file.
struct ScanInput {
    int16_t n;
    int section;
    long block, failing;
    const uint8_t* text;
    std::size_t length;
    std::size_t failAt;  // the byte where the reference's reading fails, or SIZE_MAX
    Layout layout() const { return section == 2 ? Layout::Columns : Layout::KeyValue; }
    // Points the memory file at the text, reads failing as chosen.
    void Load() const;
};
bool Decode(const uint8_t* data, std::size_t size, ScanInput& in);
