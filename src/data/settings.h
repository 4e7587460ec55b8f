// The settings file "vorrak.ini" in the Windows directory: which match is played.
#pragma once
#include "data/lines.h"

// Reads the settings file once into the duel state. A missing or unreadable file
// counts as an empty one.
void GetInfo();
// Applies every line the reader gives; the last line for a key wins.
void ReadSettings(LineReader& in);
