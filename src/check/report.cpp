// The checker's findings, kept in order and printed at the end.
#include "check/report.h"
#include <cstdio>
#include <cstring>
#include "duel/buffer.h"

namespace {

struct Finding {
    Severity severity;
    Place place;
    Sentence sentence;
};

constexpr std::size_t kMaxFindings = 2000;  // beyond this only the count goes on
Buffer<Finding> findings;
std::size_t kept, errors, warnings;

// Windows-1252 characters 0x80-0x9F as Unicode; the rest of the upper half is Latin-1.
const uint16_t kHigh1252[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

void PutUtf8(uint32_t u) {
    char b[4];
    int n;
    if (u < 0x80) { b[0] = char(u); n = 1; }
    else if (u < 0x800) { b[0] = char(0xC0 | u >> 6); b[1] = char(0x80 | (u & 0x3F)); n = 2; }
    else {
        b[0] = char(0xE0 | u >> 12);
        b[1] = char(0x80 | ((u >> 6) & 0x3F));
        b[2] = char(0x80 | (u & 0x3F));
        n = 3;
    }
    std::fwrite(b, 1, std::size_t(n), stdout);
}

const char* SeverityName(Severity s) { return s == Severity::Error ? "error" : "warning"; }

}  // namespace

bool AlmostEqual(const char* text, const char* name) {
    const char* b = text;
    const char* e = text + std::strlen(text);
    while (b < e && *b == ' ') b++;
    while (e > b && e[-1] == ' ') e--;
    const std::size_t n = std::strlen(name);
    if (std::size_t(e - b) != n) return false;
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    for (std::size_t k = 0; k < n; k++)
        if (lower(b[k]) != lower(name[k])) return false;
    return true;
}

Place PlaceOf(const char* file, long line) {
    Place p;
    p = file;
    if (line > 0) {
        p += ":";
        p += Num(int32_t(line));
    }
    return p;
}

void Report(Severity severity, const char* place, const char* sentence) {
    (severity == Severity::Error ? errors : warnings)++;
    if (findings.empty() && !findings.reset(kMaxFindings)) return;
    if (kept == kMaxFindings) return;
    Finding& f = findings[kept++];
    f.severity = severity;
    f.place = place;
    f.sentence = sentence;
}

void ResetFindings() { kept = errors = warnings = 0; }

int ErrorCount() { return int(errors); }
int WarningCount() { return int(warnings); }

void Print(const char* text) { std::fputs(text, stdout); }
void PrintNumber(int32_t v) { Print(Num(v)); }

void PrintJson(const char* text) {
    std::fputc('"', stdout);
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; p++) {
        unsigned c = *p;
        if (c == '"' || c == '\\') {
            std::fputc('\\', stdout);
            std::fputc(int(c), stdout);
        } else if (c < 0x20) {
            static const char hex[] = "0123456789abcdef";
            char esc[7] = {'\\', 'u', '0', '0', hex[c >> 4], hex[c & 15], 0};
            Print(esc);
        } else if (c < 0x80) {
            std::fputc(int(c), stdout);
        } else {
            PutUtf8(c < 0xA0 ? kHigh1252[c - 0x80] : c);
        }
    }
    std::fputc('"', stdout);
}

void PrintFindings() {
    for (std::size_t i = 0; i < kept; i++) {
        const Finding& f = findings[i];
        Print(f.place);
        Print(": ");
        Print(SeverityName(f.severity));
        Print(": ");
        Print(f.sentence);
        Print("\n");
    }
    if (errors + warnings > kept) {
        Print("vorcheck: ");
        PrintNumber(int32_t(errors + warnings - kept));
        Print(" more findings not shown\n");
    }
}

void PrintFindingsJson() {
    Print("[");
    for (std::size_t i = 0; i < kept; i++) {
        const Finding& f = findings[i];
        Print(i ? ",\n  {\"severity\": " : "\n  {\"severity\": ");
        PrintJson(SeverityName(f.severity));
        Print(", \"place\": ");
        PrintJson(f.place);
        Print(", \"message\": ");
        PrintJson(f.sentence);
        Print("}");
    }
    Print(kept ? "\n]" : "]");
}
