// Fuzzes the number syntax: any text either is a number or is not, and never more.
#include <string>
#include "data/number.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    int32_t v = 0;
    bool ok = ParseNumber(text.c_str(), v);
    if (NumberOf(text.c_str()) != (ok ? v : kNotANumber)) __builtin_trap();
    return 0;
}
