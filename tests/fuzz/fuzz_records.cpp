// Fuzzes the line reader and the record scan with any file content and any lookup.
#include <cstring>
#include "data/records.h"
#include "memory_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    int16_t n = int16_t(data[0] | data[1] << 8);
    static const char* const kHeaders[] = {"[Moves]", "[Trainers]", "[Names]", "[Damage]"};
    int section = data[2] % 4;
    memory_file::Set(data + 3, size - 3);
    int16_t status;
    static LineReader in;
    StartLines(in, OpenForReading("master.dat", status));
    Text<255> result;
    ScanResult r = ScanRecords(in, kHeaders[section],
                               section == 2 ? Layout::Columns : Layout::KeyValue, n, result);
    if (r == ScanResult::Found && std::strlen(result) > 254) __builtin_trap();
    return 0;
}
