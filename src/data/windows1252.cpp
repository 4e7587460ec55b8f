// Windows-1252 to Unicode: the upper half is Latin-1 but for 0x80-0x9F.
#include "data/windows1252.h"

namespace {

const uint16_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

uint32_t Windows1252ToUnicode(unsigned char c) {
    return c >= 0x80 && c < 0xA0 ? kHigh[c - 0x80] : c;
}

int Windows1252ToUtf8(unsigned char c, char out[3]) {
    uint32_t u = Windows1252ToUnicode(c);
    if (c != 0 && u == 0) u = 0xFFFD;
    if (u < 0x80) {
        out[0] = char(u);
        return 1;
    }
    if (u < 0x800) {
        out[0] = char(0xC0 | u >> 6);
        out[1] = char(0x80 | (u & 0x3F));
        return 2;
    }
    out[0] = char(0xE0 | u >> 12);
    out[1] = char(0x80 | ((u >> 6) & 0x3F));
    out[2] = char(0x80 | (u & 0x3F));
    return 3;
}

void Windows1252TextToUtf8(const char* text, char* out, std::size_t cap) {
    if (cap == 0) return;
    std::size_t used = 0;
    for (; *text; text++) {
        char bytes[3];
        const int n = Windows1252ToUtf8(static_cast<unsigned char>(*text), bytes);
        if (used + std::size_t(n) >= cap) break;
        for (int k = 0; k < n; k++) out[used++] = bytes[k];
    }
    out[used] = 0;
}
