// Settings: exact, case-sensitive keys; integers by the number syntax, "Path" verbatim.
// Lines are taken apart in place, where the line reader found them.
#include "data/settings.h"
#include <cstring>
#include "data/number.h"
#include "data/records.h"
#include "duel/platform.h"
#include "duel/state.h"

namespace {

struct Setting {
    const char* name;
    std::size_t length;
    int16_t* target;  // null for Path
    int section;
};

constexpr Setting kSettings[kSettingCount] = {
    {"Opp", 3, &oppNum, kNames},
    {"You", 3, &youNum, kNames},
    {"TrainerYou", 10, &youTNum, kTrainers},
    {"TrainerOpp", 10, &oppTNum, kTrainers},
    {"Move1", 5, &youMove.moveValA, kMoves},
    {"Move2", 5, &youMove.moveValB, kMoves},
    {"Move3", 5, &youMove.moveValC, kMoves},
    {"OppMove1", 8, &oppMove.moveValA, kMoves},
    {"OppMove2", 8, &oppMove.moveValB, kMoves},
    {"OppMove3", 8, &oppMove.moveValC, kMoves},
    {"Path", 4, nullptr, -1},
};

// The settings of each key length, as bits of their index: a key's length leaves at most
// three to compare, and rejects most other lines alone.
constexpr int kLongestKey = 15;
struct ByLength {
    uint16_t of[kLongestKey + 1] = {};
};
constexpr ByLength kByLength = [] {
    ByLength by;
    for (int i = 0; i < kSettingCount; i++) by.of[kSettings[i].length] |= uint16_t(1u << i);
    return by;
}();

// One line, taken apart in place: the key before its first "=", the value after it (a line
// without one is key and value alike).
void ApplySetting(const char* text, std::size_t length) {
    const char* end = text + length;
    const char* eq = static_cast<const char*>(std::memchr(text, '=', length));
    const char* keyEnd = eq ? eq : end;
    const char* value = eq ? eq + 1 : text;
    int i = SettingIndexSpan(text, keyEnd);
    if (i == kPathSetting) {
        path.assign(value, std::size_t(end - value));
    } else if (i >= 0) {
        int16_t v;
        if (SettingNumberSpan(value, end, v)) *kSettings[i].target = v;
    }
}

// 64 KiB of block buffer: kept off the stack, and at file scope so it needs no guard.
LineReader reader;

}  // namespace

const char* SettingName(int index) { return kSettings[index].name; }
int16_t& SettingValue(int index) { return *kSettings[index].target; }
int SettingSection(int index) { return kSettings[index].section; }

int SettingIndexSpan(const char* key, const char* keyEnd) {
    const std::size_t n = std::size_t(keyEnd - key);
    for (unsigned left = n <= kLongestKey ? kByLength.of[n] : 0; left; left &= left - 1) {
        const int i = __builtin_ctz(left);
        if (std::memcmp(key, kSettings[i].name, n) == 0) return i;
    }
    return -1;
}

int SettingIndex(const char* key) { return SettingIndexSpan(key, key + std::strlen(key)); }

// A value the 16-bit setting can't hold is ignored rather than wrapped.
bool SettingNumberSpan(const char* value, const char* valueEnd, int16_t& number) {
    int32_t v;
    if (!ParseNumberSpan(value, valueEnd, v) || v < INT16_MIN || v > INT16_MAX) return false;
    number = static_cast<int16_t>(v);
    return true;
}

bool SettingNumber(const char* value, int16_t& number) {
    return SettingNumberSpan(value, value + std::strlen(value), number);
}

void ReadSettings(LineReader& in) {
    for (;;) {
        const char* text;
        std::size_t length;
        int16_t status = NextPiece(in, text, length);
        if (status != kStatusOk && status != kStatusEnd && status != kStatusCut) return;
        ApplySetting(text, length);
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
