// Line reader over a block-buffered file.
#include "data/lines.h"

void StartLines(LineReader& in, FileHandle file) {
    in.file = file;
    in.len = in.pos = 0;
    in.atEnd = false;
    in.error = 0;
    in.line = 0;
    in.lineStart = true;
}

// Next byte without taking it; -1 at the end or after a failed read.
static int Peek(LineReader& in) {
    if (in.pos == in.len) {
        if (in.atEnd) return -1;
        int16_t status = 0;
        long n = ReadBlock(in.file, in.buf, sizeof in.buf, status);
        if (n <= 0) {
            in.atEnd = true;
            if (n < 0) in.error = status ? status : -1;
            return -1;
        }
        in.len = n;
        in.pos = 0;
    }
    return static_cast<unsigned char>(in.buf[in.pos]);
}

static void TakeLineEnd(LineReader& in, int first) {
    in.pos++;
    if (first == '\r' && Peek(in) == '\n') in.pos++;
    in.lineStart = true;
}

int16_t ReadLine(LineReader& in, Text<255>& line) {
    char piece[255];
    std::size_t n = 0;
    if (in.lineStart) {
        in.line++;
        in.lineStart = false;
    }
    for (;;) {
        int c = Peek(in);
        if (c < 0) {
            piece[n] = 0;
            line = piece;
            return in.error ? in.error : kStatusEnd;
        }
        if (c == '\r' || c == '\n') {
            TakeLineEnd(in, c);
            piece[n] = 0;
            line = piece;
            return kStatusOk;
        }
        if (n == 254) {
            piece[n] = 0;
            line = piece;
            return kStatusCut;
        }
        piece[n++] = static_cast<char>(c);
        in.pos++;
    }
}
