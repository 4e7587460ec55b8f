// Number syntax: blanks, signs at either end, decimal or hex with a final H.
#include "data/number.h"
#include <cstring>

static int DigitValue(char c, int base) {
    int v = -1;
    if (c >= '0' && c <= '9') v = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') v = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') v = c - 'A' + 10;
    return v;
}

bool ParseNumber(const char* text, int32_t& value) {
    return ParseNumberSpan(text, text + std::strlen(text), value);
}

bool ParseNumberSpan(const char* b, const char* e, int32_t& value) {
    while (b < e && *b == ' ') b++;
    while (e > b && e[-1] == ' ') e--;
    if (b == e) return false;

    int base = 10;
    if (e[-1] == 'H' || e[-1] == 'h') {
        base = 16;
        e--;
        if (b == e) return false;
    }
    bool negative = false;
    if (*b == '+' || *b == '-') negative = *b++ == '-';
    if (e > b && (e[-1] == '+' || e[-1] == '-')) negative |= *--e == '-';

    int64_t v = 0;
    for (const char* p = b; p < e; p++) {
        int d = DigitValue(*p, base);
        if (d < 0) return false;
        v = v * base + d;
        if (v > int64_t(INT32_MAX) + 1) return false;
    }
    if (negative) v = -v;
    if (v < INT32_MIN || v > INT32_MAX) return false;
    value = static_cast<int32_t>(v);
    return true;
}

int32_t NumberOf(const char* text) {
    int32_t v;
    return ParseNumber(text, v) ? v : kNotANumber;
}

void DecimalText(int32_t v, char* out) {
    char digits[11];
    int n = 0;
    uint32_t u = v < 0 ? 0u - uint32_t(v) : uint32_t(v);  // INT32_MIN has no positive twin
    do {
        digits[n++] = char('0' + u % 10);
        u /= 10;
    } while (u);
    if (v < 0) *out++ = '-';
    while (n) *out++ = digits[--n];
    *out = 0;
}
