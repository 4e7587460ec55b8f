// Fuzzes the line reader and the record scan with any file content and any lookup.
#include <cstdio>
#include <cstring>
#include "data/records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    int16_t n = int16_t(data[0] | data[1] << 8);
    static const char* const kHeaders[] = {"[Moves]", "[Trainers]", "[Names]", "[Damage]"};
    int section = data[2] % 4;
    std::FILE* f = fmemopen(const_cast<uint8_t*>(data + 3), size - 3 ? size - 3 : 1, "rb");
    if (!f) return 0;
    static LineReader in;
    StartLines(in, f);
    Text<255> result;
    ScanResult r = ScanRecords(in, kHeaders[section],
                               section == 2 ? Layout::Columns : Layout::KeyValue, n, result);
    if (r == ScanResult::Found && std::strlen(result) > 254) __builtin_trap();
    std::fclose(f);
    return 0;
}
