// The reference scan and the fuzz input's decoding.
#include "reference_scan.h"
#include <cstring>
#include "data/lines.h"
#include "data/number.h"
#include "memory_files.h"

const char* const kHeaders[4] = {"[Moves]", "[Trainers]", "[Names]", "[Damage]"};

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

bool Decode(const uint8_t* data, std::size_t size, ScanInput& in) {
    if (size < 7) return false;
    in.n = int16_t(data[0] | data[1] << 8);
    in.section = data[2] % 4;
    in.block = data[3] < 200 ? data[3] + 1 : kBlockBytes;
    in.failing = data[4] < 8 ? long(data[4]) : -1;
    AllowWideScan(data[5] & 1);  // both ways of finding line ends
    in.text = data + 6;
    in.length = size - 6;
    // The reads before the failing one give whole blocks, so it fails at this byte; or at
    // the end, when it is the read that would have found the end.
    in.failAt = std::size_t(-1);
    if (in.failing >= 0) {
        std::size_t at = std::size_t(in.failing) * std::size_t(in.block);
        std::size_t reads = (in.length + std::size_t(in.block) - 1) / std::size_t(in.block);
        if (at <= in.length) in.failAt = at;
        else if (std::size_t(in.failing) == reads) in.failAt = in.length;
    }
    return true;
}

void ScanInput::Load() const { memory_file::Set(text, length, block, failing); }
