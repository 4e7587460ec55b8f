// The literal line reader of the benchmarks: the line rules of ReadLine, one system call
// per byte. The platform's part is readOne, which reads one byte or says it could not.
#pragma once
#include <cstddef>
#include <cstdint>
#include "data/files.h"
#include "duel/text.h"

struct ByteLines {
    bool (*readOne)(void* file, unsigned char& c);
    void* file;
    int next = -1;  // the byte read ahead, or -1
    bool atEnd = false;

    int Peek() {
        unsigned char c;
        if (next < 0 && !atEnd) {
            if (readOne(file, c)) next = c;
            else atEnd = true;
        }
        return next;
    }

    // kStatusOk, kStatusCut (the rest follows as the next line) or kStatusEnd.
    int16_t Read(Text<255>& line) {
        char piece[255];
        std::size_t n = 0;
        for (;;) {
            int c = Peek();
            if (c < 0 || c == '\r' || c == '\n' || n == 254) {
                piece[n] = 0;
                line = piece;
                if (c < 0) return kStatusEnd;
                if (n == 254 && c != '\r' && c != '\n') return kStatusCut;
                next = -1;
                if (c == '\r' && Peek() == '\n') next = -1;
                return kStatusOk;
            }
            piece[n++] = char(c);
            next = -1;
        }
    }
};
