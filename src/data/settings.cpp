// Settings: exact, case-sensitive keys; integers by the number syntax, "Path" verbatim.
#include "data/settings.h"
#include <cstring>
#include "data/number.h"
#include "data/records.h"
#include "duel/platform.h"
#include "duel/state.h"

namespace {

struct IntegerKey {
    const char* name;
    int16_t* target;
};

const IntegerKey kIntegerKeys[] = {
    {"Opp", &oppNum},
    {"You", &youNum},
    {"TrainerYou", &youTNum},
    {"TrainerOpp", &oppTNum},
    {"Move1", &youMove.moveValA},
    {"Move2", &youMove.moveValB},
    {"Move3", &youMove.moveValC},
    {"OppMove1", &oppMove.moveValA},
    {"OppMove2", &oppMove.moveValB},
    {"OppMove3", &oppMove.moveValC},
};

void ApplySetting(const Text<255>& key, const Text<255>& value) {
    if (key == "Path") {
        path = value;
        return;
    }
    for (const IntegerKey& k : kIntegerKeys) {
        if (key != k.name) continue;
        int32_t v;
        // A value the 16-bit setting can't hold is ignored rather than wrapped.
        if (ParseNumber(value, v) && v >= INT16_MIN && v <= INT16_MAX)
            *k.target = static_cast<int16_t>(v);
        return;
    }
}

}  // namespace

void ReadSettings(LineReader& in) {
    Text<255> line, key, value;
    for (;;) {
        int16_t status = ReadLine(in, line);
        if (status != kStatusOk && status != kStatusEnd && status != kStatusCut) return;
        SplitKeyValue(line, key, value);
        ApplySetting(key, value);
        if (status == kStatusEnd) return;
    }
}

// 16 KiB of block buffer: kept off the stack, and at file scope so it needs no guard.
static LineReader reader;

void GetInfo() {
    char name[1024];
    if (!WindowsDirectory(name, sizeof name - 16)) return;
    std::strcat(name, "\\vorrak.ini");
    FileHandle file = OpenForReading(name, r);
    if (!file) return;
    StartLines(reader, file);
    ReadSettings(reader);
    CloseFile(file);
}
