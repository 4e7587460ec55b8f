// Settings: exact, case-sensitive keys; integers by the number syntax, "Path" verbatim.
#include "data/settings.h"
#include <cstring>
#include "data/number.h"
#include "data/records.h"
#include "duel/platform.h"
#include "duel/state.h"

namespace {

struct Setting {
    const char* name;
    int16_t* target;  // null for Path
};

const Setting kSettings[kSettingCount] = {
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
    {"Path", nullptr},
};

void ApplySetting(const Text<255>& key, const Text<255>& value) {
    int i = SettingIndex(key);
    if (i == kPathSetting) {
        path = value;
    } else if (i >= 0) {
        int16_t v;
        if (SettingNumber(value, v)) *kSettings[i].target = v;
    }
}

// 16 KiB of block buffer: kept off the stack, and at file scope so it needs no guard.
LineReader reader;

}  // namespace

const char* SettingName(int index) { return kSettings[index].name; }

int SettingIndex(const char* key) {
    for (int i = 0; i < kSettingCount; i++)
        if (std::strcmp(key, kSettings[i].name) == 0) return i;
    return -1;
}

// A value the 16-bit setting can't hold is ignored rather than wrapped.
bool SettingNumber(const char* value, int16_t& number) {
    int32_t v;
    if (!ParseNumber(value, v) || v < INT16_MIN || v > INT16_MAX) return false;
    number = static_cast<int16_t>(v);
    return true;
}

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
