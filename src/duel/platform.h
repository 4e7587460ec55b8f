// What the portable core asks of the platform layer beyond files and the screen.
#pragma once
#include <cstddef>

// The Windows directory, without a final backslash; false when it can't be had whole.
bool WindowsDirectory(char* buf, std::size_t cap);
