// Whether a link's settings leave the duel with what the data lacks: the page then has the
// checker say why, beside the duel, which plays on as the game plays it.
#include <emscripten.h>
#include <cstring>
#include "data/files.h"
#include "data/records.h"
#include "data/settings.h"
#include "duel/platform.h"
#include "duel/state.h"

namespace {

LineReader reader;  // 64 KiB: at file scope, off the stack

// A line whose key is a number setting but whose value the game ignores, not being one.
bool IgnoresAValue(const char* settingsFile) {
    int16_t status;
    FileHandle file = OpenForReading(settingsFile, status);
    if (!file) return false;
    StartLines(reader, file);
    bool ignored = false;
    Text<255> line, key, value;
    do {
        status = ReadLine(reader, line);
        SplitKeyValue(line, key, value);
        const int i = SettingIndex(key);
        int16_t n;
        if (i >= 0 && i != kPathSetting && !SettingNumber(value, n)) ignored = true;
    } while (!ignored && (status == kStatusOk || status == kStatusCut));
    CloseFile(file);
    return ignored;
}

// A number setting that no record of its section answers.
bool NamesAMissingRecord() {
    Wanted wanted[kPathSetting];
    for (int i = 0; i < kPathSetting; i++) wanted[i] = {SettingSection(i), SettingValue(i), false, {}};
    Text<255> name;
    name = path;
    name += "master.dat";
    int16_t status;
    FileHandle file = OpenForReading(name, status);
    if (!file) return false;  // the game says so itself, and the duel ends
    StartLines(reader, file);
    const ScanResult found = ScanForAll(reader, wanted, kPathSetting);
    CloseFile(file);
    return found == ScanResult::NotFound;
}

}  // namespace

// Reads the settings as the game does, then looks.
extern "C" EMSCRIPTEN_KEEPALIVE bool web_link_flawed() {
    char settingsFile[1024];
    if (!WindowsDirectory(settingsFile, sizeof settingsFile - 16)) return false;
    std::strcat(settingsFile, "\\vorrak.ini");
    GetInfo();
    return IgnoresAValue(settingsFile) || NamesAMissingRecord();
}
