// The number syntax shared by the settings file and the database.
#pragma once
#include <cstdint>

constexpr int32_t kNotANumber = INT32_MIN;

// Blanks at both ends are ignored; a final H or h means hexadecimal digits; one sign
// may stand first and one last, a sign with no digits reads as 0. Anything else is not
// a number and gives false.
bool ParseNumber(const char* text, int32_t& value);
// The same for the characters from b up to e.
bool ParseNumberSpan(const char* b, const char* e, int32_t& value);
// The same, with kNotANumber for a text that is not a number.
int32_t NumberOf(const char* text);

// Writes v in decimal, with a minus sign when negative, into out (room for 12 characters).
void DecimalText(int32_t v, char* out);

// A number as text, for building sentences: text += Num(7).
struct Num {
    char c[12];
    explicit Num(int32_t v) { DecimalText(v, c); }
    operator const char*() const { return c; }
};
