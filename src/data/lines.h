// Reads text files line by line: CR, LF and CR LF end a line, the last line needs no
// line end, and a line longer than 254 characters comes back in pieces.
#pragma once
#include <cstdint>
#include "data/files.h"
#include "duel/text.h"

struct LineReader {
    FileHandle file = nullptr;
    char buf[16384];
    long len = 0, pos = 0;
    bool atEnd = false;
    int16_t error = 0;  // the platform's code of a failed read, else 0
    long line = 0;      // the file's line (from 1) that the last text read came from
    bool lineStart = true;
};

void StartLines(LineReader& in, FileHandle file);
// Status: kStatusOk, kStatusEnd (no further character; the text read before the end
// comes back with it), kStatusCut (the rest follows as the next line), or the
// platform's error code of a failed read.
int16_t ReadLine(LineReader& in, Text<255>& line);
