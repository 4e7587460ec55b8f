// The literal way of a database lookup on Win32: the same scan, one ReadFile per byte.
#pragma once
#include <cstdint>
#include "duel/text.h"

// GetMove or GetName (columns) done that way; false when nothing was found.
bool LiteralLookup(const char* header, bool columns, int16_t n, Text<255>& result);
