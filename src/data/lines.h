// Reads text files line by line: CR, LF and CR LF end a line, the last line needs no
// line end, and a line longer than 254 characters comes back in pieces.
#pragma once
#include <cstddef>
#include <cstdint>
#include "data/files.h"
#include "duel/text.h"

constexpr long kBlockBytes = 65536;  // what one read asks of the file
constexpr long kPieceMax = 254;      // the longest line a reader gives back whole

struct LineReader {
    FileHandle file = nullptr;
    const char* memory = nullptr;  // or the bytes of a file already read, still to come
    std::size_t memoryLeft = 0;
    // One block, plus room to keep the unread end of the last one in front of the next:
    // so a whole piece and the bytes after it can be looked at in place. The last 64
    // bytes are never data: they let the line-end search read whole chunks.
    char buf[kBlockBytes + kPieceMax + 2 + 64];
    using Mask = uintptr_t;          // one bit per byte of a chunk
    const char* maskBase = nullptr;  // the chunk whose line ends mask marks
    Mask mask = 0;
    long len = 0, pos = 0;
    long long base = 0;  // the offset in the file of buf[0]
    bool atEnd = false;
    int16_t error = 0;  // the platform's code of a failed read, else 0
    long line = 0;      // the file's line (from 1) that ReadLine's last text came from
    bool lineStart = true;
};

void StartLines(LineReader& in, FileHandle file);
// The same over bytes in memory, read the same way: for a file that is to be rewritten.
void StartLinesInMemory(LineReader& in, const char* data, std::size_t size);
// Where in the file a piece's text lies, and where the next piece begins.
inline long long OffsetOf(const LineReader& in, const char* text) { return in.base + (text - in.buf); }
inline long long NextOffset(const LineReader& in) { return in.base + in.pos; }
// Status: kStatusOk, kStatusEnd (no further character; the text read before the end
// comes back with it), kStatusCut (the rest follows as the next line), or the
// platform's error code of a failed read.
int16_t ReadLine(LineReader& in, Text<255>& line);

// The same piece in place: text points into the reader's buffer, valid until the next
// call, and length stops at a NUL, as the copy ReadLine makes would.
int16_t NextPieceAnyway(LineReader& in, const char*& text, std::size_t& length);
inline int16_t NextPiece(LineReader& in, const char*& text, std::size_t& length);

// Lets the line reader use SSE2 where the processor has it, once the platform layer has
// told whether the system keeps the SSE registers across task switches (Windows 2000 and
// later do; 95, 98, ME and NT 4.0 are not counted on). Builds for processors that always
// have SSE2 use it from the start; false turns it off, as the tests do to try both ways.
void AllowWideScan(bool systemSavesVectorState);
// The same, asking the system itself (Win32 only).
void AllowWideScanOnThisSystem();

// Makes at least need (at most kPieceMax + 2) unread bytes lie in buf from pos, unless the
// file ends (or a read fails) first; returns how many there are.
long Lookahead(LineReader& in, long need);

// Marks the line ends of the chunk after the marked one (wide scans only).
void MarkNextChunk(LineReader& in);

// Most lines end in the chunk whose line ends the last call marked, or in the next one, well
// before the block's end: those are taken here, and every other case by NextPieceAnyway.
inline int16_t NextPiece(LineReader& in, const char*& text, std::size_t& length) {
    constexpr long kChunkBytes = long(sizeof(LineReader::Mask)) * 8;
    if (!in.maskBase || in.len - in.pos < kPieceMax + 2) return NextPieceAnyway(in, text, length);
    long at = in.pos - long(in.maskBase - in.buf);
    if (at >= kChunkBytes && at < 2 * kChunkBytes) {  // the last line ended at the chunk's end
        MarkNextChunk(in);
        at -= kChunkBytes;
    }
    if (at >= 0 && at < kChunkBytes) {
        const char* s = in.buf + in.pos;
        const char* from = s;
        LineReader::Mask ahead = in.mask >> at;
        if (!ahead) {  // 254 characters lie ahead: the next chunk is all there
            MarkNextChunk(in);
            from = in.maskBase;
            ahead = in.mask;
        }
        if (ahead) {
            const char* stop = from + (sizeof ahead > 4 ? __builtin_ctzll(ahead) : __builtin_ctz(unsigned(ahead)));
            if (*stop != 0) {  // a NUL's line goes on: the long way
                text = s;
                length = std::size_t(stop - s);
                in.pos = long(stop + 1 - in.buf) + (*stop == '\r' && stop[1] == '\n');
                return kStatusOk;
            }
        }
    }
    return NextPieceAnyway(in, text, length);
}
