// The settings file "vorrak.ini" in the Windows directory: which match is played.
#pragma once
#include <cstdint>
#include "data/lines.h"

// Reads the settings file once into the duel state. A missing or unreadable file
// counts as an empty one.
void GetInfo();
// Applies every line the reader gives; the last line for a key wins.
void ReadSettings(LineReader& in);

// The keys the game knows, the one list of them: ten numbers (Opp, You, TrainerYou,
// TrainerOpp, Move1-3, OppMove1-3), then "Path". Keys are exact and case-sensitive.
constexpr int kSettingCount = 11;
constexpr int kPathSetting = kSettingCount - 1;
const char* SettingName(int index);
// A number setting's place in the duel state, and the database section whose records it
// names (kNames, kTrainers or kMoves).
int16_t& SettingValue(int index);
int SettingSection(int index);
// The index of the setting a key names, or -1 for a key the game ignores.
int SettingIndex(const char* key);
int SettingIndexSpan(const char* key, const char* keyEnd);
// A number setting's value as the game takes it; false when the line is ignored.
bool SettingNumber(const char* value, int16_t& number);
bool SettingNumberSpan(const char* value, const char* valueEnd, int16_t& number);
