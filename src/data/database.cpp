// The database lookups and their one report of a missing or unreadable file.
#include "data/database.h"
#include <cstring>
#include "data/files.h"
#include "data/number.h"
#include "data/records.h"
#include "duel/platform.h"
#include "duel/state.h"

static const char kNotFound[] = "Not found.";

// 64 KiB of block buffer: kept off the stack, and at file scope so it needs no guard.
static LineReader reader;

// The program can't go on without its database: report once, then close the window.
static void ReportFault(const char* text) {
    ending = true;
    Message(text);
    CloseMainWindow();
}

// Runs the record scan on path + "master.dat"; false when nothing was found.
static bool Lookup(const char* header, Layout layout, int16_t n, Text<255>& result) {
    if (ending) return false;
    Text<255> name;
    name = path;
    name += "master.dat";
    if (!FileExists(name)) {
        ReportFault("Can't find master.dat file!");
        return false;
    }
    FileHandle file = OpenForReading(name, r);
    if (!file) {
        ReportFault("Can't read master.dat file!");
        return false;
    }
    StartLines(reader, file);
    ScanResult found = ScanRecords(reader, header, layout, n, result);
    CloseFile(file);
    if (found == ScanResult::ReadError) {
        r = reader.error;
        ReportFault("Can't read master.dat file!");
    }
    return found == ScanResult::Found;
}

static void LookupName(const char* header, Layout layout, int16_t n, char* out,
                       std::size_t cap) {
    if (cap == 0) return;
    Text<255> result;
    if (!Lookup(header, layout, n, result)) result = kNotFound;
    std::strncpy(out, result, cap - 1);
    out[cap - 1] = 0;
}

void GetMove(int16_t n, char* name, std::size_t cap) {
    LookupName("[Moves]", Layout::KeyValue, n, name, cap);
}

void GetTrainer(int16_t n, char* name, std::size_t cap) {
    LookupName("[Trainers]", Layout::KeyValue, n, name, cap);
}

void GetName(int16_t n, char* name, std::size_t cap) {
    LookupName("[Names]", Layout::Columns, n, name, cap);
}

int32_t GetDamage(int16_t n) {
    Text<255> result;
    int32_t damage = 0;
    if (Lookup("[Damage]", Layout::KeyValue, n, result) && ParseNumber(result, damage))
        return damage;
    return 0;
}
