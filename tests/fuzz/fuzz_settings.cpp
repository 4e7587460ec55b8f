// Fuzzes the settings parser: any file content must leave a well-formed duel state.
#include <cstring>
#include "data/settings.h"
#include "duel/state.h"
#include "memory_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    memory_file::Set(data, size);
    int16_t status;
    static LineReader in;
    StartLines(in, OpenForReading("vorrak.ini", status));
    ReadSettings(in);
    if (std::strlen(path) > 254) __builtin_trap();
    return 0;
}
