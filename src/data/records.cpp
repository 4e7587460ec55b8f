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

void ViewLine(const char* line, const char* header, Layout layout, LineView& view) {
    view.blank = IsBlank(line);
    view.header = false;
    view.key = kNotANumber;
    view.value = "";
    if (view.blank) return;
    Text<255> key;
    if (layout == Layout::KeyValue) {
        SplitKeyValue(line, key, view.value);
        view.header = view.value == header;
    } else {
        SplitColumns(line, key, view.value);
        view.header = std::strcmp(line, header) == 0;
    }
    if (!view.header) view.key = NumberOf(key);
}

ScanResult ScanRecords(LineReader& in, const char* header, Layout layout, int16_t n,
                       Text<255>& result) {
    Text<255> line;
    LineView view;
    bool inSection = false;
    for (;;) {
        int16_t status = ReadLine(in, line);
        if (status != kStatusOk && status != kStatusEnd && status != kStatusCut)
            return ScanResult::ReadError;
        ViewLine(line, header, layout, view);
        if (view.header) {
            inSection = true;
        } else if (inSection && !view.blank && view.key == n) {
            result = view.value;
            return ScanResult::Found;
        }
        if (status == kStatusEnd) return ScanResult::NotFound;
    }
}
