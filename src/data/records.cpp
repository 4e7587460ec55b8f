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

// A line taken apart in place: the key field, the value, and whether it is the header.
struct Span {
    const char *key, *keyEnd, *value, *valueEnd;
    bool header;
};

// The key-value layout splits at the first "=" (a line without one is key and value alike)
// and its header is the value; the column layout keys on characters 1-3, names from 5 on,
// and its header is the whole line.
Span Split(const char* s, std::size_t len, const char* header, std::size_t headerLen,
           Layout layout) {
    const char* end = s + len;
    Span out{s, end, s, end, false};
    if (layout == Layout::KeyValue) {
        const char* eq = s;
        while (eq < end && *eq != '=') eq++;  // keys are short: no call for this
        if (eq < end) {
            out.keyEnd = eq;
            out.value = eq + 1;
        }
        out.header = std::size_t(end - out.value) == headerLen &&
                     std::memcmp(out.value, header, headerLen) == 0;
    } else {
        out.keyEnd = len > 3 ? s + 3 : end;
        out.value = len > 4 ? s + 4 : end;
        out.header = len == headerLen && std::memcmp(s, header, headerLen) == 0;
    }
    return out;
}

// False only for a key that can't read as n, told by its last character: a decimal number
// ends in its last digit, else in a sign or the H of hexadecimal. Most keys go no further.
bool MayBe(const char* key, const char* keyEnd, int16_t n) {
    while (keyEnd > key && keyEnd[-1] == ' ') keyEnd--;
    if (keyEnd == key) return false;
    const char last = keyEnd[-1];
    const int digit = (n < 0 ? -int32_t(n) : int32_t(n)) % 10;
    return last == '0' + digit || last == 'H' || last == 'h' || last == '+' || last == '-';
}

}  // namespace

void ViewLine(const char* line, const char* header, Layout layout, LineView& view) {
    const std::size_t len = std::strlen(line);
    view.blank = std::strspn(line, " ") == len;
    view.header = false;
    view.key = kNotANumber;
    view.value = "";
    if (view.blank) return;
    Span span = Split(line, len, header, std::strlen(header), layout);
    view.header = span.header;
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
    bool inSection = false;
    for (;;) {
        const char* text;
        std::size_t length;
        int16_t status = NextPiece(in, text, length);
        if (status != kStatusOk && status != kStatusEnd && status != kStatusCut)
            return ScanResult::ReadError;
        Span span = Split(text, length, header, headerLen, layout);
        int32_t key;
        if (span.header) {
            inSection = true;
        } else if (inSection && MayBe(span.key, span.keyEnd, n) &&
                   ParseNumberSpan(span.key, span.keyEnd, key) && key == n) {
            result.assign(span.value, std::size_t(span.valueEnd - span.value));
            return ScanResult::Found;
        }
        if (status == kStatusEnd) return ScanResult::NotFound;
    }
}
