// Windows-1252, the character set of the game's text, as Unicode: how that text is shown
// wherever something else than the game's own screen shows it.
#pragma once
#include <cstddef>
#include <cstdint>

// The character of byte c; 0 for the five bytes the character set leaves undefined.
uint32_t Windows1252ToUnicode(unsigned char c);

// Byte c in UTF-8 (an undefined byte as U+FFFD) into out; returns how many bytes, 1 to 3.
int Windows1252ToUtf8(unsigned char c, char out[3]);

// A whole text in UTF-8 into out, cut before a character that would not fit with the
// terminating zero; cap 3 * length + 1 holds any text.
void Windows1252TextToUtf8(const char* text, char* out, std::size_t cap);
