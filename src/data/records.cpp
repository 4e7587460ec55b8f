// Record scan: sections begin at their header and never end; the first match wins.
#include "data/records.h"
#include <cstring>
#include "data/number.h"

void SplitKeyValue(const char* line, Text<255>& key, Text<255>& value) {
    const char* eq = std::strchr(line, '=');
    key = line;
    value = line;
    if (!eq) return;
    key.cut(static_cast<std::size_t>(eq - line));
    value = eq + 1;
}

static bool IsBlank(const char* line) {
    return line[std::strspn(line, " ")] == 0;
}

// Key field and name of the fixed-column layout: characters 1-3, then 5 on.
static void SplitColumns(const char* line, Text<255>& key, Text<255>& name) {
    key = line;
    key.cut(3);
    name = std::strlen(line) > 4 ? line + 4 : "";
}

ScanResult ScanRecords(LineReader& in, const char* header, Layout layout, int16_t n,
                       Text<255>& result) {
    Text<255> line, key, value;
    bool inSection = false;
    for (;;) {
        int16_t status = ReadLine(in, line);
        if (status != kStatusOk && status != kStatusEnd && status != kStatusCut)
            return ScanResult::ReadError;
        if (!IsBlank(line)) {
            bool isHeader;
            if (layout == Layout::KeyValue) {
                SplitKeyValue(line, key, value);
                isHeader = value == header;
            } else {
                SplitColumns(line, key, value);
                isHeader = line == header;
            }
            if (isHeader) {
                inSection = true;
            } else if (inSection && NumberOf(key) == n) {
                result = value;
                return ScanResult::Found;
            }
        }
        if (status == kStatusEnd) return ScanResult::NotFound;
    }
}
