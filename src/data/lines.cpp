// Line reader over a block-buffered file: pieces are found in place, a word at a time.
#include "data/lines.h"
#include <cstring>
#if defined(__SSE2__) || defined(__i386__)
#include <cpuid.h>
#include <emmintrin.h>
#endif

void StartLines(LineReader& in, FileHandle file) {
    in.file = file;
    in.memory = nullptr;
    in.memoryLeft = 0;
    in.len = in.pos = 0;
    in.base = 0;
    in.atEnd = false;
    in.error = 0;
    in.line = 0;
    in.lineStart = true;
    in.maskBase = nullptr;
}

void StartLinesInMemory(LineReader& in, const char* data, std::size_t size) {
    StartLines(in, nullptr);
    in.memory = data ? data : "";  // never null: null means a file
    in.memoryLeft = size;
}

static long TakeMemory(LineReader& in, char* to) {
    const std::size_t n = in.memoryLeft < std::size_t(kBlockBytes) ? in.memoryLeft : std::size_t(kBlockBytes);
    if (n) std::memcpy(to, in.memory, n);
    in.memory += n;
    in.memoryLeft -= n;
    return long(n);
}

// Reads the next block behind what is left unread; false at the end or after a failed read.
static bool ReadMore(LineReader& in) {
    if (in.atEnd) return false;
    long left = in.len - in.pos;
    std::memmove(in.buf, in.buf + in.pos, static_cast<std::size_t>(left));
    in.maskBase = nullptr;
    in.base += in.pos;
    in.pos = 0;
    in.len = left;
    int16_t status = 0;
    long n = in.memory ? TakeMemory(in, in.buf + left) : ReadBlock(in.file, in.buf + left, kBlockBytes, status);
    if (n <= 0) {
        in.atEnd = true;
        if (n < 0) in.error = status ? status : -1;
        return false;
    }
    in.len += n;
    return true;
}

long Lookahead(LineReader& in, long need) {
    while (in.len - in.pos < need && ReadMore(in)) {
    }
    return in.len - in.pos;
}

// The first CR, LF or NUL from p on, or end: reading spends its time here. With SSE2 each
// chunk of the buffer (as many bytes as a machine word has bits) is looked at once, into a
// mask of its line ends that serves every line in it; without, a word at a time.
#if defined(__SSE2__) || defined(__i386__)
constexpr int kChunk = int(sizeof(LineReader::Mask)) * 8;
#if defined(__SSE2__)
#define SSE2_CODE
#else
#define SSE2_CODE __attribute__((target("sse2")))
#endif
SSE2_CODE static void MarkChunk(LineReader& in, const char* base) {
    const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n'), nul = _mm_setzero_si128();
    LineReader::Mask mask = 0;
    for (int k = 0; k < kChunk / 16; k++) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + 16 * k));
        __m128i hit = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)), _mm_cmpeq_epi8(v, nul));
        mask |= LineReader::Mask(unsigned(_mm_movemask_epi8(hit))) << (16 * k);
    }
    in.maskBase = base;
    in.mask = mask;
}

SSE2_CODE void MarkNextChunk(LineReader& in) { MarkChunk(in, in.maskBase + kChunk); }

SSE2_CODE static const char* FindStopWide(LineReader& in, const char* p, const char* end) {
    while (p < end) {
        const char* base = in.buf + ((p - in.buf) & ~std::ptrdiff_t(kChunk - 1));
        if (base != in.maskBase) MarkChunk(in, base);
        if (LineReader::Mask ahead = in.mask >> (p - base)) {
            const char* hit = p + (sizeof ahead > 4 ? __builtin_ctzll(ahead) : __builtin_ctz(unsigned(ahead)));
            return hit < end ? hit : end;
        }
        p = base + kChunk;
    }
    return end;
}
#endif

static const char* FindStopNarrow(const char* p, const char* end) {
    constexpr uint32_t kOnes = 0x01010101u, kHighs = 0x80808080u;
    for (; end - p >= 4; p += 4) {
        uint32_t v;
        std::memcpy(&v, p, sizeof v);
        uint32_t a = v ^ (kOnes * '\r'), b = v ^ (kOnes * '\n');
        // A byte is zero (CR, LF) exactly where the high bit of (x - 1) & ~x is set.
        if ((((a - kOnes) & ~a) | ((b - kOnes) & ~b) | ((v - kOnes) & ~v)) & kHighs) break;
    }
    while (p < end && *p != '\r' && *p != '\n' && *p != 0) p++;
    return p;
}

#if defined(__SSE2__) || defined(__i386__)
// A 32-bit x86 build runs on processors and systems without SSE2: it uses it only once
// the processor says it has it and the system keeps the SSE registers.
#if defined(__SSE2__)
static bool wide = true;
#else
static bool wide = false;
#endif
static int hasSse2 = -1;  // asked once: under a hypervisor CPUID costs microseconds
void AllowWideScan(bool systemSavesVectorState) {
    if (hasSse2 < 0) {
        unsigned a, b, c, d;
        hasSse2 = __get_cpuid(1, &a, &b, &c, &d) && (d & bit_SSE2);
    }
    wide = systemSavesVectorState && hasSse2;
}
static const char* FindStop(LineReader& in, const char* p, const char* end) {
    return wide ? FindStopWide(in, p, end) : FindStopNarrow(p, end);
}
#else
void AllowWideScan(bool) {}
void MarkNextChunk(LineReader&) {}  // only wide scans mark chunks
static const char* FindStop(LineReader&, const char* p, const char* end) {
    return FindStopNarrow(p, end);
}
#endif

int16_t NextPieceAnyway(LineReader& in, const char*& text, std::size_t& length) {
    long avail = in.len - in.pos;
    if (avail < kPieceMax + 2) avail = Lookahead(in, kPieceMax + 2);
    const char* s = in.buf + in.pos;
    const char* look = s + (avail < kPieceMax + 1 ? avail : kPieceMax + 1);
    const char* stop = FindStop(in, s, look);
    const char* contentEnd = stop;  // a NUL ends what the line says, not the line
    while (stop < look && *stop == 0) stop = FindStop(in, stop + 1, look);

    int16_t status = kStatusOk;
    const char* next;
    if (stop == look && avail > kPieceMax) {  // no line end within 254 characters
        stop = s + kPieceMax;
        next = stop;
        status = kStatusCut;
    } else if (stop == look) {  // the file's end, or a failed read
        next = stop;
        status = in.error ? in.error : kStatusEnd;
    } else {
        next = stop + 1;
        if (*stop == '\r' && next < s + avail && *next == '\n') next++;
    }
    text = s;
    length = static_cast<std::size_t>((contentEnd < stop ? contentEnd : stop) - s);
    in.pos = static_cast<long>(next - in.buf);
    return status;
}

int16_t ReadLine(LineReader& in, Text<255>& line) {
    if (in.lineStart) {
        in.line++;
        in.lineStart = false;
    }
    const char* text;
    std::size_t length;
    int16_t status = NextPiece(in, text, length);
    line.assign(text, length);
    if (status == kStatusOk) in.lineStart = true;
    return status;
}
