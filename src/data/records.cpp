// Record scan: sections begin at their header and never end; the first match wins.
#include "data/records.h"
#include <cstring>
#include "data/number.h"

const Section kSections[4] = {{"[Moves]", Layout::KeyValue}, {"[Trainers]", Layout::KeyValue},
                              {"[Names]", Layout::Columns}, {"[Damage]", Layout::KeyValue}};

void SplitKeyValue(const char* line, Text<255>& key, Text<255>& value) {
    const char* eq = std::strchr(line, '=');
    key = line;
    value = line;
    if (!eq) return;
    key.cut(static_cast<std::size_t>(eq - line));
    value = eq + 1;
}

namespace {

// A line taken apart in place: the key field and the value.
struct Span {
    const char *key, *keyEnd, *value, *valueEnd;
};

// The key-value layout splits at the first "=" (a line without one is key and value
// alike); the column layout keys on characters 1-3 and names from 5 on.
Span Split(const char* s, std::size_t len, Layout layout) {
    const char* end = s + len;
    Span out{s, end, s, end};
    if (layout == Layout::KeyValue) {
        if (const char* eq = static_cast<const char*>(std::memchr(s, '=', len))) {
            out.keyEnd = eq;
            out.value = eq + 1;
        }
    } else {
        out.keyEnd = len > 3 ? s + 3 : end;
        out.value = len > 4 ? s + 4 : end;
    }
    return out;
}

// The key-value layout's header is the line's value, the column layout's the whole line.
bool IsHeader(const char* s, const Span& span, Layout layout, const char* header,
              std::size_t headerLen) {
    const char* from = layout == Layout::KeyValue ? span.value : s;
    return std::size_t(span.valueEnd - from) == headerLen && std::memcmp(from, header, headerLen) == 0;
}

// A key that can read as n ends, blanks aside, in n's last digit, a sign or the H of
// hexadecimal: its last character rejects most keys without parsing them.
char LastOfKey(const char* key, const char* keyEnd) {
    while (keyEnd > key && keyEnd[-1] == ' ') keyEnd--;
    return keyEnd == key ? 0 : keyEnd[-1];
}

char LastDigit(int16_t n) { return char('0' + (n < 0 ? -int32_t(n) : int32_t(n)) % 10); }

bool MayEndNumber(char last, char digit) {
    return last == digit || last == 'H' || last == 'h' || last == '+' || last == '-';
}

}  // namespace

void ViewLine(const char* line, const char* header, Layout layout, LineView& view) {
    const std::size_t len = std::strlen(line);
    view.blank = std::strspn(line, " ") == len;
    view.header = false;
    view.key = kNotANumber;
    view.value = "";
    if (view.blank) return;
    Span span = Split(line, len, layout);
    view.header = IsHeader(line, span, layout, header, std::strlen(header));
    view.value.assign(span.value, std::size_t(span.valueEnd - span.value));
    int32_t key;
    if (!view.header && ParseNumberSpan(span.key, span.keyEnd, key)) view.key = key;
}

// Looks at each line in the reader's buffer only as far as it takes to reject it, and
// copies only the match. A blank line needs no test of its own: it is never the header,
// and its key is no number.
ScanResult ScanRecords(LineReader& in, const char* header, Layout layout, int16_t n,
                       Text<255>& result) {
    const std::size_t headerLen = std::strlen(header);
    const char digit = LastDigit(n);
    bool inSection = false;
    for (;;) {
        const char* text;
        std::size_t length;
        int16_t status = NextPiece(in, text, length);
        if (status != kStatusOk && status != kStatusEnd && status != kStatusCut)
            return ScanResult::ReadError;
        Span span = Split(text, length, layout);
        int32_t key;
        if (IsHeader(text, span, layout, header, headerLen)) {
            inSection = true;
        } else if (inSection && MayEndNumber(LastOfKey(span.key, span.keyEnd), digit) &&
                   ParseNumberSpan(span.key, span.keyEnd, key) && key == n) {
            result.assign(span.value, std::size_t(span.valueEnd - span.value));
            return ScanResult::Found;
        }
        if (status == kStatusEnd) return ScanResult::NotFound;
    }
}

// The same rule for several records at once. Each line is split and its key read at most
// once per layout, and tested once per section.
ScanResult ScanForAll(LineReader& in, Wanted* wanted, int count) {
    bool asked[4] = {}, inSection[4] = {}, layoutAsked[2] = {};
    std::size_t headerLen[4];
    char digit[kMaxWanted];
    int pending[kMaxWanted], left = 0;
    if (count > kMaxWanted) count = kMaxWanted;
    for (int s = 0; s < 4; s++) headerLen[s] = std::strlen(kSections[s].header);
    for (int i = 0; i < count; i++) {
        wanted[i].found = false;
        asked[wanted[i].section] = true;
        layoutAsked[int(kSections[wanted[i].section].layout)] = true;
        digit[i] = LastDigit(wanted[i].n);
        pending[left++] = i;
    }
    while (left > 0) {
        const char* text;
        std::size_t length;
        int16_t status = NextPiece(in, text, length);
        if (status != kStatusOk && status != kStatusEnd && status != kStatusCut)
            return ScanResult::ReadError;
        Span spans[2];
        char last[2] = {};
        int keyRead[2] = {};  // 0 not yet, 1 a number, -1 none
        int32_t key[2] = {};
        for (int l = 0; l < 2; l++)
            if (layoutAsked[l]) {
                spans[l] = Split(text, length, Layout(l));
                last[l] = LastOfKey(spans[l].key, spans[l].keyEnd);
            }
        bool header[4] = {};
        for (int s = 0; s < 4; s++) {
            const Layout layout = kSections[s].layout;
            if (asked[s] && IsHeader(text, spans[int(layout)], layout, kSections[s].header, headerLen[s]))
                header[s] = inSection[s] = true;
        }
        for (int p = 0; p < left;) {
            Wanted& w = wanted[pending[p]];
            const int l = int(kSections[w.section].layout);
            const Span& span = spans[l];
            if (inSection[w.section] && !header[w.section] && MayEndNumber(last[l], digit[pending[p]])) {
                if (keyRead[l] == 0) keyRead[l] = ParseNumberSpan(span.key, span.keyEnd, key[l]) ? 1 : -1;
                if (keyRead[l] == 1 && key[l] == w.n) {
                    w.value.assign(span.value, std::size_t(span.valueEnd - span.value));
                    w.found = true;
                    pending[p] = pending[--left];  // the order of the rest does not matter
                    continue;
                }
            }
            p++;
        }
        if (left > 0 && status == kStatusEnd) return ScanResult::NotFound;
    }
    return ScanResult::Found;
}

void StartAllRecords(AllRecords& all) {
    std::memset(&all, 0, sizeof all);
    all.current = -1;
}

// A line can be the header of one section and a record of the others at once.
int TakeLine(AllRecords& all, const char* line, FoundRecord found[4]) {
    const std::size_t len = std::strlen(line);
    const Span spans[2] = {Split(line, len, Layout::KeyValue), Split(line, len, Layout::Columns)};
    bool header[4];
    for (int s = 0; s < 4; s++) {
        const Section& sec = kSections[s];
        header[s] = IsHeader(line, spans[int(sec.layout)], sec.layout, sec.header, std::strlen(sec.header));
        if (header[s]) {
            all.started[s] = true;
            all.current = s;
        }
    }
    int keyRead[2] = {};  // 0 not yet, 1 a 16-bit number, -1 none
    int32_t key[2] = {};
    int count = 0;
    for (int s = 0; s < 4; s++) {
        const int l = int(kSections[s].layout);
        if (!all.started[s] || header[s]) continue;
        if (keyRead[l] == 0)
            keyRead[l] = ParseNumberSpan(spans[l].key, spans[l].keyEnd, key[l]) && key[l] >= INT16_MIN &&
                                 key[l] <= INT16_MAX ? 1 : -1;
        if (keyRead[l] < 0) continue;
        const unsigned k = unsigned(key[l] + 32768);
        uint8_t& bits = all.seen[s][k >> 3];
        if (bits & (1u << (k & 7))) continue;
        bits = uint8_t(bits | 1u << (k & 7));
        found[count++] = FoundRecord{s, int16_t(key[l]), s == all.current, spans[l].value};
    }
    return count;
}
