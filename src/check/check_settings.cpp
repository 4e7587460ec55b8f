// The settings file as the game reads it, with what an author may not expect.
#include <cstring>
#include "check/check.h"
#include "check/report.h"
#include "data/files.h"
#include "data/number.h"
#include "data/records.h"
#include "data/settings.h"

namespace {

LineReader reader;

// A key that names a setting but for case or blanks around it, which the game ignores.
int AlmostSetting(const char* key) {
    for (int i = 0; i < kSettingCount; i++)
        if (AlmostEqual(key, SettingName(i))) return i;
    return -1;
}

bool EndsInSeparator(const char* text) {
    std::size_t n = std::strlen(text);
    return n > 0 && (text[n - 1] == '\\' || text[n - 1] == '/');
}

void CheckPath(const Place& place, const char* value) {
    Sentence s;
    if (!*value) {
        s = "Path is empty: the game opens master.dat and the pictures in the folder it is "
            "started from";
        Report(Severity::Warning, place, s);
    } else if (!EndsInSeparator(value)) {
        s = "Path \"";
        s += value;
        s += "\" has no final backslash: the game puts it straight before each file name and "
             "opens \"";
        s += value;
        s += "master.dat\"";
        Report(Severity::Error, place, s);
    }
}

void CheckLine(const char* line, const Place& place, SettingLines& lines, long lineNo) {
    Text<255> key, value;
    SplitKeyValue(line, key, value);
    int i = SettingIndex(key);
    Sentence s;
    if (i < 0) {
        int near = AlmostSetting(key);
        if (near < 0) return;  // not ours: the player's notes are welcome
        s = "\"";
        s += key;
        s += "\" is not the key ";
        s += SettingName(near);
        s += ": keys are exact (case counts, no blanks around them), so the game ignores this line";
        Report(Severity::Error, place, s);
        return;
    }
    if (i == kPathSetting) {
        CheckPath(place, value);
    } else {
        int16_t number;
        if (!SettingNumber(value, number)) {
            int32_t wide;
            s = SettingName(i);
            s += " \"";
            s += value;
            s += ParseNumber(value, wide) ? "\" does not fit 16 bits (-32768 to 32767)"
                                          : "\" is not a number";
            s += ": the game ignores this line";
            Report(Severity::Error, place, s);
            return;
        }
    }
    if (lines.line[i]) {
        s = SettingName(i);
        s += " is given again (before on line ";
        s += Num(int32_t(lines.line[i]));
        s += "): the last one wins, so the earlier one is never used";
        Report(Severity::Warning, place, s);
    }
    lines.line[i] = lineNo;
}

}  // namespace

bool CheckSettings(const char* file, const char* shownName, SettingLines& lines) {
    lines.file = shownName;
    int16_t status;
    FileHandle f = OpenForReading(file, status);
    if (!f) return false;
    StartLines(reader, f);
    Text<255> line;
    long cutLine = 0;
    for (;;) {
        status = ReadLine(reader, line);
        if (status != kStatusOk && status != kStatusEnd && status != kStatusCut) {
            CloseFile(f);
            return false;
        }
        Place place = PlaceOf(shownName, reader.line);
        if (status == kStatusCut && cutLine != reader.line) {
            cutLine = reader.line;
            Report(Severity::Warning, place,
                   "this line is longer than 254 characters: the game reads the rest as a "
                   "line of its own");
        }
        CheckLine(line, place, lines, reader.line);
        if (status == kStatusEnd) break;
    }
    CloseFile(f);

    // The values themselves come from the game's own reader.
    f = OpenForReading(file, status);
    if (!f) return false;
    StartLines(reader, f);
    ReadSettings(reader);
    CloseFile(f);
    lines.read = true;
    return true;
}
