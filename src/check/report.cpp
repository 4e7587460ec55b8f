// The checker's findings, kept in order and printed at the end.
#include "check/report.h"
#include <cstdio>
#include <cstring>
#include "check/check.h"
#include "data/windows1252.h"
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

// A JSON string, quotes included: bytes from 0x80 up as Windows-1252's characters, or as
// they are in a name that the system gave in UTF-8.
void PrintQuoted(const char* text, bool asGiven) {
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
        } else if (c < 0x80 || asGiven) {
            std::fputc(int(c), stdout);
        } else {
            char bytes[3];
            std::fwrite(bytes, 1, std::size_t(Windows1252ToUtf8(static_cast<unsigned char>(c), bytes)), stdout);
        }
    }
    std::fputc('"', stdout);
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

void PrintJson(const char* text) { PrintQuoted(text, false); }
void PrintJsonName(const char* name) { PrintQuoted(name, kUtf8Names); }

// A terminal that shows UTF-8 gets the game's text in it; a Windows console, as it is.
void PrintText(const char* text) {
    if (!kUtf8Names) return Print(text);
    for (; *text; text++) {
        char bytes[3];
        std::fwrite(bytes, 1, std::size_t(Windows1252ToUtf8(static_cast<unsigned char>(*text), bytes)), stdout);
    }
}

void PrintFindings() {
    for (std::size_t i = 0; i < kept; i++) {
        const Finding& f = findings[i];
        Print(f.place);
        Print(": ");
        Print(SeverityName(f.severity));
        Print(": ");
        PrintText(f.sentence);
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
        PrintJsonName(f.place);
        Print(", \"message\": ");
        PrintJson(f.sentence);
        Print("}");
    }
    Print(kept ? "\n]" : "]");
}
