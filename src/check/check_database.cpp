// The database as the game's lookups see it. One pass applies the lookups' own rule for
// all four sections at once: for every number, the first record after a section's header
// is what a lookup of that section finds, wherever it stands.
#include <cstring>
#include "check/check.h"
#include "check/report.h"
#include "data/database.h"
#include "data/files.h"
#include "data/number.h"
#include "data/records.h"
#include "data/settings.h"
#include "duel/buffer.h"
#include "duel/state.h"

namespace {

// What a record of each section is called in a finding.
const char* const kRecordWhat[4] = {"move", "trainer", "creature", "damage record"};

constexpr int32_t kCreatureNameMax = 10, kMoveNameMax = 63;
constexpr int32_t kFullHitPoints = 100;
constexpr std::size_t kNumbers = 65536;

// What a lookup of number n in a section finds: the line and the value (an offset into the
// pool, +1; 0 for nothing), and whether the line lies in that section or after a later header.
struct Found {
    int32_t line;
    uint32_t value;
    bool own;
    uint32_t check;  // the check that wrote it: one of an earlier check counts as nothing
};
// 4 sections x 65536 numbers, kept from one check to the next (the fuzzer makes millions),
// so that none has to clear 4 MB first.
Buffer<Found> found;
uint32_t checks;
Buffer<char> pool;
std::size_t poolUsed;
Buffer<int16_t> own[4];  // the numbers keyed in their own section, in file order
std::size_t ownCount[4];
LineReader reader;
AllRecords records;  // which line each lookup finds

Found& At(int section, int32_t n) {
    Found& f = found[std::size_t(section) * kNumbers + std::size_t(n + 32768)];
    if (f.check != checks) f = Found{0, 0, false, checks};
    return f;
}
const char* ValueOf(const Found& f) { return f.value ? &pool[f.value - 1] : ""; }

bool Remember(Found& f, long line, const char* value, bool ownSection) {
    std::size_t n = std::strlen(value) + 1;
    if (poolUsed + n > pool.size()) return false;
    std::memcpy(&pool[poolUsed], value, n);
    f.line = int32_t(line);
    f.value = uint32_t(poolUsed + 1);
    f.own = ownSection;
    poolUsed += n;
    return true;
}

// The section whose header this line is but for case or blanks, or -1.
int AlmostHeader(const char* line) {
    for (int s = 0; s < 4; s++)
        if (AlmostEqual(line, kSections[s].header)) return s;
    return -1;
}

// True when a setting names record n of the section (a move names its damage record too).
bool IsNamed(int section, int32_t n) {
    for (int i = 0; i < kPathSetting; i++) {
        const int named = SettingSection(i);
        if ((named == section || (section == kDamage && named == kMoves)) && SettingValue(i) == n) return true;
    }
    return false;
}

Place RecordPlace(const Found& f) { return PlaceOf("master.dat", f.line); }

// A line that is not a header of any section; first when the lookups take it for its
// number's record (a long line's pieces share their line number).
void CheckRecordLine(const char* line, const LineView& view, int current, const Place& place,
                     bool first, bool tail, const CheckOptions& options) {
    Sentence s;
    const Section& sec = kSections[current];
    const char* what = kRecordWhat[current];
    if (view.key == kNotANumber) {
        if (tail) return;  // reported with the line it was cut from
        if (sec.layout == Layout::Columns) {
            s = "not a creature record: the number fills characters 1 to 3 (\"  7\" or \"025\"), "
                "one character follows, then the name; the game never finds this line";
        } else if (!std::strchr(line, '=')) {
            s = "not a record (it has no \"=\"): the game never finds this line";
        } else {
            Text<255> key, value;
            SplitKeyValue(line, key, value);
            s = "\"";
            s += key;
            s += "\" is not a number: the game never finds this ";
            s += what;
        }
        Report(Severity::Error, place, s);
        return;
    }
    if (view.key < INT16_MIN || view.key > INT16_MAX) {
        s = "number ";
        s += Num(view.key);
        s += " lies outside 16 bits: no setting can name this ";
        s += what;
        Report(Severity::Error, place, s);
        return;
    }
    const Found& f = At(current, view.key);
    if (tail) {
        s = "longer than 254 characters: the rest is a line of its own, which the game reads as ";
        s += sec.header;
        s += " ";
        s += Num(view.key);
        Report(Severity::Error, place, s);
    }
    if (!first) {
        if (!options.all && !IsNamed(current, view.key)) return;
        s = sec.header;
        s += " ";
        s += Num(view.key);
        s += " is given again (first on line ";
        s += Num(f.line);
        s += "): the first one wins, so this line is never used";
        Report(Severity::Warning, place, s);
        return;
    }
    if (ownCount[current] < own[current].size()) own[current][ownCount[current]++] = int16_t(view.key);
}

void CheckHeaderLike(const char* line, int current, const Place& place) {
    Sentence s;
    int near = AlmostHeader(line);
    s = "\"";
    s += line;
    if (near >= 0) {
        s += "\" is not the header ";
        s += kSections[near].header;
        s += ": headers are exact (case counts, no blanks), so the game does not start the "
             "section here";
        Report(Severity::Error, place, s);
        return;
    }
    s += "\" is no section the game knows: ";
    if (current >= 0) {
        s += "the lines after it still count as records of ";
        s += kSections[current].header;
    } else {
        s += "the game ignores it";
    }
    Report(Severity::Warning, place, s);
}

bool Scan(const CheckOptions& options) {
    StartAllRecords(records);
    long cutLine = 0, shownCut = 0;
    Text<255> line;
    LineView views[4];
    FoundRecord taken[4];
    for (;;) {
        int16_t status = ReadLine(reader, line);
        if (status != kStatusOk && status != kStatusEnd && status != kStatusCut) return false;
        const long lineNo = reader.line;
        const bool tail = cutLine == lineNo;
        const Place place = PlaceOf("master.dat", lineNo);
        if (status == kStatusCut) cutLine = lineNo;
        if (tail && shownCut != lineNo) {
            shownCut = lineNo;
            Report(Severity::Warning, place,
                   "longer than 254 characters: the game cuts the line there and reads the "
                   "rest as a line of its own");
        }
        const int count = TakeLine(records, line, taken);
        const int current = records.current;
        bool firstRecord = false;  // of its number in the current section
        for (int i = 0; i < count; i++) {
            if (!Remember(At(taken[i].section, taken[i].n), lineNo, taken[i].value, taken[i].own)) return false;
            firstRecord |= taken[i].section == current;
        }
        int headerOf = -1;
        for (int s = 0; s < 4; s++) {
            ViewLine(line, kSections[s].header, kSections[s].layout, views[s]);
            if (views[s].header) headerOf = s;
        }
        if (!views[0].blank) {
            if (headerOf >= 0) {
                if (std::strcmp(line, kSections[headerOf].header) != 0) {
                    Sentence s;
                    s = "the game takes this line for the header ";
                    s += kSections[headerOf].header;
                    s += ", because that is what follows its \"=\"";
                    Report(Severity::Warning, place, s);
                }
            } else {
                const char* first = line + std::strspn(line, " ");
                if (*first == '[' && !tail) {
                    CheckHeaderLike(line, current, place);
                } else if (current < 0) {
                    if (!tail)
                        Report(Severity::Warning, place,
                               "before the first section header: no lookup ever reads this line");
                } else {
                    CheckRecordLine(line, views[current], current, place, firstRecord, tail, options);
                }
            }
        }
        if (status == kStatusEnd) return true;
    }
}

void CheckName(const Found& f, int32_t n, int32_t max, const char* what) {
    const char* name = ValueOf(f);
    if (int32_t(std::strlen(name)) <= max) return;
    Sentence s;
    s = what;
    s += " ";
    s += Num(n);
    s += "'s name has ";
    s += Num(int32_t(std::strlen(name)));
    s += " characters: the game shows only the first ";
    s += Num(max);
    s += ", \"";
    Text<64> shown;
    shown = name;
    shown.cut(std::size_t(max));
    s += shown;
    s += "\"";
    Report(Severity::Warning, RecordPlace(f), s);
}

void CheckDamage(const Found& f, int32_t n) {
    Sentence s;
    int32_t damage;
    s = "move ";
    s += Num(n);
    if (!ParseNumber(ValueOf(f), damage)) {
        s += "'s damage \"";
        s += ValueOf(f);
        s += "\" is not a number: the move does no damage (0)";
        Report(Severity::Error, RecordPlace(f), s);
    } else if (damage < 0) {
        s += "'s damage is negative: the move heals the other side by ";
        s += Num(damage == INT32_MIN ? INT32_MAX : -damage);
        Report(Severity::Warning, RecordPlace(f), s);
    } else if (damage >= kFullHitPoints) {
        s += "'s damage ";
        s += Num(damage);
        s += " ends a duel in one blow: both sides start with 100 hit points";
        Report(Severity::Warning, RecordPlace(f), s);
    }
}

// A move's damage as GetDamage finds it; place the finding at where it would be expected.
void CheckMoveHasDamage(int32_t n, const Place& place) {
    const Found& d = At(kDamage, n);
    Sentence s;
    s = "move ";
    s += Num(n);
    if (!d.line) {
        s += " has no [Damage] record: it does no damage (0)";
        Report(Severity::Warning, place, s);
    } else if (!d.own) {
        s += " has no record in [Damage]: the game takes its damage from line ";
        s += Num(d.line);
        s += ", \"";
        s += ValueOf(d);
        s += "\"";
        Report(Severity::Warning, place, s);
    }
}

void CheckRecords(const CheckOptions& options) {
    for (int sec = 0; sec < 4; sec++) {
        for (std::size_t i = 0; i < ownCount[sec]; i++) {
            int32_t n = own[sec][i];
            if (!options.all && !IsNamed(sec, n)) continue;
            const Found& f = At(sec, n);
            if (sec == kNames) CheckName(f, n, kCreatureNameMax, "creature");
            if (sec == kMoves) CheckName(f, n, kMoveNameMax, "move");
            if (sec == kDamage) CheckDamage(f, n);
            if (sec == kMoves && options.all) CheckMoveHasDamage(n, RecordPlace(f));
        }
    }
}

// What the game shows for each number the settings name, by the game's own lookups.
void CheckNamed(const SettingLines& settings) {
    for (int i = 0; i < kPathSetting; i++) {
        const int section = SettingSection(i);
        const int16_t n = SettingValue(i);
        const long line = settings.line[i];
        const Place place = PlaceOf(settings.file, line);
        Text<255> shown;
        if (section == kNames) GetName(n, shown);
        if (section == kTrainers) GetTrainer(n, shown);
        if (section == kMoves) GetMove(n, shown);
        const Found& f = At(section, n);
        Sentence s;
        s = SettingName(i);
        if (line) {
            s += "=";
            s += Num(n);
        } else {
            s += " is not set, so it is 0";
        }
        if (!f.line) {
            s += ", but master.dat has no ";
            s += kRecordWhat[section];
            s += " ";
            s += Num(n);
            s += ": the game shows \"";
            s += shown;
            s += section == kMoves ? "\", and the move does no damage" : "\"";
            Report(Severity::Error, place, s);
            continue;
        }
        if (!f.own) {
            s += ": master.dat has no ";
            s += kSections[section].header;
            s += " record ";
            s += Num(n);
            s += ", so the game takes line ";
            s += Num(f.line);
            s += " of another section and shows \"";
            s += shown;
            s += "\"";
            Report(Severity::Warning, place, s);
        }
        if (section == kMoves) CheckMoveHasDamage(n, place);
    }
}

void PrintRecords(int section, bool withDamage) {
    Print("[");
    for (std::size_t i = 0; i < ownCount[section]; i++) {
        int32_t n = own[section][i];
        const Found& f = At(section, n);
        Text<255> name;
        name = ValueOf(f);
        if (section == kNames) name.cut(kCreatureNameMax);
        if (section == kMoves) name.cut(kMoveNameMax);
        Print(i ? ",\n    {\"number\": " : "\n    {\"number\": ");
        PrintNumber(n);
        Print(", \"name\": ");
        PrintJson(name);
        if (withDamage) {
            int32_t damage = 0;
            const Found& d = At(kDamage, n);
            if (d.line && !ParseNumber(ValueOf(d), damage)) damage = 0;
            Print(", \"damage\": ");
            PrintNumber(damage);
        }
        Print("}");
    }
    Print(ownCount[section] ? "\n  ]" : "]");
}

}  // namespace

bool CheckDatabase(const CheckOptions& options, const SettingLines& settings) {
    Text<255> name;
    name = path;
    name += "master.dat";
    for (std::size_t& count : ownCount) count = 0;  // an unread database has no records
    if (!FileExists(name)) return false;
    int16_t status;
    FileHandle file = OpenForReading(name, status);
    if (!file) return false;
    long long size = FileLength(file);
    // Every record's value fits in the file's own bytes, four times over at most.
    std::size_t room = size > 0 ? std::size_t(size) * 4 + 16 : 16;
    bool ready = (!found.empty() || found.reset(4 * kNumbers)) && pool.reset(room);
    for (int s = 0; s < 4; s++) {
        ready = ready && (!own[s].empty() || own[s].reset(kNumbers));
    }
    if (!ready) {
        CloseFile(file);
        return false;
    }
    checks++;  // from 1: a zeroed entry belongs to no check
    poolUsed = 0;
    StartLines(reader, file);
    bool ok = Scan(options);
    CloseFile(file);
    if (!ok) return false;
    CheckRecords(options);
    if (settings.read) CheckNamed(settings);
    return true;
}

int RecordCount(int section) { return int(ownCount[section]); }
int16_t RecordNumber(int section, int i) { return own[section][std::size_t(i)]; }

void PrintRecordsJson() {
    Print("\"creatures\": ");
    PrintRecords(kNames, false);
    Print(",\n  \"trainers\": ");
    PrintRecords(kTrainers, false);
    Print(",\n  \"moves\": ");
    PrintRecords(kMoves, true);
}
