// Fuzzes the settings parser: any file content must leave a well-formed duel state.
#include <cstdio>
#include <cstring>
#include "data/settings.h"
#include "duel/state.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::FILE* f = fmemopen(const_cast<uint8_t*>(data), size ? size : 1, "rb");
    if (!f) return 0;
    static LineReader in;
    StartLines(in, f);
    ReadSettings(in);
    std::fclose(f);
    if (std::strlen(path) > 254) __builtin_trap();
    return 0;
}
