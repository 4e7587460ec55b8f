// The literal way of a database lookup: one ReadFile call per byte, the rules unchanged.
#include "literal_lookup.h"
#include <cstring>
#include "data/number.h"
#include "data/records.h"
#include "duel/state.h"
#include "shell/win.h"

namespace {

struct ByteFile {
    HANDLE h;
    int next = -1;
    bool atEnd = false;
};

int Peek(ByteFile& f) {
    if (f.next < 0 && !f.atEnd) {
        unsigned char c;
        DWORD got = 0;
        if (ReadFile(f.h, &c, 1, &got, NULL) && got == 1)
            f.next = c;
        else
            f.atEnd = true;
    }
    return f.next;
}

bool ReadByteLine(ByteFile& f, Text<255>& line) {
    char piece[255];
    std::size_t n = 0;
    for (;;) {
        int c = Peek(f);
        if (c < 0 || c == '\r' || c == '\n' || n == 254) {
            piece[n] = 0;
            line = piece;
            if (c < 0) return false;
            if (n == 254 && c != '\r' && c != '\n') return true;
            f.next = -1;
            if (c == '\r' && Peek(f) == '\n') f.next = -1;
            return true;
        }
        piece[n++] = char(c);
        f.next = -1;
    }
}

}  // namespace

bool LiteralLookup(const char* header, bool columns, int16_t n, Text<255>& result) {
    Text<255> name;
    name = path;
    name += "master.dat";
    ByteFile f;
    f.h = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (f.h == INVALID_HANDLE_VALUE) return false;
    Text<255> line;
    LineView view;
    bool inSection = false, found = false, more = true;
    while (more && !found) {
        more = ReadByteLine(f, line);
        ViewLine(line, header, columns ? Layout::Columns : Layout::KeyValue, view);
        if (view.header) {
            inSection = true;
        } else if (inSection && !view.blank && view.key == n) {
            result = view.value;
            found = true;
        }
    }
    CloseHandle(f.h);
    return found;
}
