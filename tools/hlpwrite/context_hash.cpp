#include "context_hash.h"

namespace hlp {
namespace {

int charValue(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A' + 17;
    if (c >= 'a' && c <= 'z') return c - 'a' + 17;
    if (c >= '1' && c <= '9') return c - '1' + 1;
    if (c == '0') return 10;
    if (c == '.') return 12;
    if (c == '_') return 13;
    return -1;
}

}  // namespace

bool isValidContextId(std::string_view id) {
    if (id.empty()) return false;
    for (char c : id)
        if (charValue(c) < 0) return false;
    return true;
}

std::uint32_t contextHash(std::string_view id) {
    std::uint32_t h = 0;
    for (char c : id) {
        int v = charValue(c);
        if (v >= 0) h = h * 43u + static_cast<std::uint32_t>(v);
    }
    return h;
}

}  // namespace hlp
