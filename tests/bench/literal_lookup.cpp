// The literal way of a database lookup: one ReadFile call per byte, the rules unchanged.
#include "literal_lookup.h"
#include "byte_lines.h"
#include <cstring>
#include "data/number.h"
#include "data/records.h"
#include "duel/state.h"
#include "shell/win.h"

namespace {

bool ReadOne(void* file, unsigned char& c) {
    DWORD got = 0;
    return ReadFile(static_cast<HANDLE>(file), &c, 1, &got, NULL) && got == 1;
}

}  // namespace

bool LiteralLookup(const char* header, bool columns, int16_t n, Text<255>& result) {
    Text<255> name;
    name = path;
    name += "master.dat";
    HANDLE h = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (h == INVALID_HANDLE_VALUE) return false;
    ByteLines f{ReadOne, h};
    Text<255> line;
    LineView view;
    bool inSection = false, found = false, more = true;
    while (more && !found) {
        more = f.Read(line) != kStatusEnd;
        ViewLine(line, header, columns ? Layout::Columns : Layout::KeyValue, view);
        if (view.header) {
            inSection = true;
        } else if (inSection && !view.blank && view.key == n) {
            result = view.value;
            found = true;
        }
    }
    CloseHandle(h);
    return found;
}
