#include "cp1252.h"

#include <cstdint>
#include <cstdio>

#include "data/windows1252.h"

namespace hlp {
namespace {

int encode(char32_t c) {
    if (c >= 0x20 && c < 0x7F) return static_cast<int>(c);
    if (c >= 0xA0 && c <= 0xFF) return static_cast<int>(c);
    for (int b = 0x80; b < 0xA0; ++b)
        if (c >= 0x100 && Windows1252ToUnicode(static_cast<unsigned char>(b)) == c) return b;
    return -1;
}

// Strict decoding: no overlong forms, surrogates or values past U+10FFFF.
bool decode(std::string_view in, std::size_t& i, char32_t& c) {
    const auto b0 = static_cast<std::uint8_t>(in[i]);
    const int extra = b0 < 0x80 ? 0
                      : (b0 & 0xE0) == 0xC0 ? 1
                      : (b0 & 0xF0) == 0xE0 ? 2
                      : (b0 & 0xF8) == 0xF0 ? 3
                                            : -1;
    if (extra < 0 || in.size() - i <= static_cast<std::size_t>(extra)) return false;
    c = extra == 0 ? b0 : b0 & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        const auto b = static_cast<std::uint8_t>(in[i + static_cast<std::size_t>(k)]);
        if ((b & 0xC0) != 0x80) return false;
        c = (c << 6) | (b & 0x3F);
    }
    static constexpr char32_t kMin[4] = {0, 0x80, 0x800, 0x10000};
    if (c < kMin[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    i += static_cast<std::size_t>(extra) + 1;
    return true;
}

}  // namespace

bool utf8ToCp1252(std::string_view in, std::string& out, std::string& error) {
    out.clear();
    for (std::size_t i = 0; i < in.size();) {
        char32_t c = 0;
        if (!decode(in, i, c)) {
            error = "malformed UTF-8";
            return false;
        }
        const int b = encode(c);
        if (b < 0) {
            char buf[64];
            if (c == '\t')
                std::snprintf(buf, sizeof buf, "tab character (use spaces)");
            else if (c < 0x20 || c == 0x7F)
                std::snprintf(buf, sizeof buf, "control character 0x%02X", static_cast<unsigned>(c));
            else
                std::snprintf(buf, sizeof buf, "character U+%04X is not in Windows-1252",
                              static_cast<unsigned>(c));
            error = buf;
            return false;
        }
        out += static_cast<char>(b);
    }
    return true;
}

}  // namespace hlp
