// Fuzzes the record writer against the game's own lookups: on any file and any edit, the
// edited record reads as written (removed, it is no longer one of its section's), and every
// other lookup of every number the file mentions gives what it gave before. A refusal says
// why in one line.
#include <algorithm>
#include <cstring>
#include "data/catalog.h"
#include "data/database.h"
#include "data/number.h"
#include "data/records_write.h"
#include "duel/state.h"
#include "memory_files.h"

namespace {

constexpr int kMaxKeys = 40;
int16_t keys[kMaxKeys];
int keyCount;

// The edited number, then every number a line of either file reads as, in any layout.
void FindKeys(int16_t n, const char* files[2], const std::size_t sizes[2]) {
    static LineReader in;
    keys[0] = n;
    keyCount = 1;
    for (int f = 0; f < 2; f++) {
        StartLinesInMemory(in, files[f], sizes[f]);
        Text<255> line;
        LineView view;
        for (int16_t status = kStatusCut; status == kStatusOk || status == kStatusCut;) {
            status = ReadLine(in, line);
            for (const Section& s : kSections) {
                ViewLine(line, s.header, s.layout, view);
                const bool known = std::find(keys, keys + keyCount, view.key) != keys + keyCount;
                if (view.key >= INT16_MIN && view.key <= INT16_MAX && !known && keyCount < kMaxKeys)
                    keys[keyCount++] = int16_t(view.key);
            }
        }
    }
}

struct Reading {
    Text<255> value[4][kMaxKeys];
    bool own[4][kMaxKeys];
};

void Read(const char* bytes, std::size_t size, Reading& r) {
    memory_file::Set(reinterpret_cast<const uint8_t*>(bytes), size);
    for (int i = 0; i < keyCount; i++) {
        GetMove(keys[i], r.value[kMoves][i]);
        GetTrainer(keys[i], r.value[kTrainers][i]);
        GetName(keys[i], r.value[kNames][i]);
        r.value[kDamage][i] = Num(GetDamage(keys[i]));
    }
    std::memset(r.own, 0, sizeof r.own);
    ListRecords([](int section, int16_t n, const char*, bool own, void* context) {
        bool* mine = static_cast<Reading*>(context)->own[section];
        for (int i = 0; i < keyCount; i++) mine[i] |= own && keys[i] == n;
    }, &r);
}

}  // namespace

// Bytes: the section and what to do, the number, the text's length, the text, the file.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    const int section = data[0] % 4;
    const bool remove = data[0] & 4;
    const int16_t n = data[0] & 8 ? int16_t(data[1] | data[2] << 8) : int16_t(int8_t(data[1]));
    const std::size_t textLength = std::size_t(data[2] % 32) * (data[0] & 16 ? 9 : 1);
    if (size < 3 + textLength) return 0;
    char text[300] = {};
    std::memcpy(text, data + 3, textLength);
    const char* old = reinterpret_cast<const char*>(data + 3 + textLength);
    const std::size_t oldSize = size - 3 - textLength;

    Buffer<char> out;
    std::size_t outSize = 0;
    Said said;
    const RecordEdit edit{section, n, remove ? nullptr : text};
    const bool done = EditRecord(old, oldSize, edit, out, outSize, said);
    if (said.empty() || std::strpbrk(said, "\r\n")) __builtin_trap();
    if (!done) return 0;

    path = "";
    ending = false;
    const char* files[2] = {old, out.data()};
    const std::size_t sizes[2] = {oldSize, outSize};
    FindKeys(n, files, sizes);
    static Reading before, after;
    Read(old, oldSize, before);
    Read(out.data(), outSize, after);
    // The name as written, cut no further than the duel shows it, unless its line holds less.
    Text<255> written;
    written = text;
    written.cut(NameRoom(section));
    const bool lineFull = std::strstr(said, "as much as its line holds");
    for (int s = 0; s < 4; s++)
        for (int i = 0; i < keyCount; i++) {
            const Text<255>& got = after.value[s][i];
            if (s == section && i == 0) {  // the edited record
                if (remove ? after.own[s][0] : !after.own[s][0]) __builtin_trap();
                if (remove) continue;
                if (s == kDamage ? got != Num(NumberOf(text))
                                 : std::strncmp(got, written, got.length()) || (got != written && !lineFull))
                    __builtin_trap();
            } else if ((i != 0 || before.own[s][0]) && got != before.value[s][i]) {
                __builtin_trap();
            }
        }
    return 0;
}
