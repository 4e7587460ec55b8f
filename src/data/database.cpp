// The database lookups and their one report of a missing or unreadable file.
#include "data/database.h"
#include <cstring>
#include "data/files.h"
#include "data/number.h"
#include "data/records.h"
#include "duel/screen.h"
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

// Opens path + "master.dat" for a lookup; null (the fault reported) when it can't be read.
static FileHandle OpenDatabase() {
    if (ending) return nullptr;
    Text<255> name;
    name = path;
    name += "master.dat";
    if (!FileExists(name)) {
        ReportFault("Can't find master.dat file!");
        return nullptr;
    }
    FileHandle file = OpenForReading(name, r);
    if (!file) ReportFault("Can't read master.dat file!");
    else StartLines(reader, file);
    return file;
}

static void CloseDatabase(FileHandle file, ScanResult found) {
    CloseFile(file);
    if (found == ScanResult::ReadError) {
        r = reader.error;
        ReportFault("Can't read master.dat file!");
    }
}

// Runs the record scan on the database; false when nothing was found.
static bool Lookup(const char* header, Layout layout, int16_t n, Text<255>& result) {
    FileHandle file = OpenDatabase();
    if (!file) return false;
    ScanResult found = ScanRecords(reader, header, layout, n, result);
    CloseDatabase(file, found);
    return found == ScanResult::Found;
}

static void CopyName(const char* name, char* out, std::size_t cap) {
    if (cap == 0) return;
    std::strncpy(out, name, cap - 1);
    out[cap - 1] = 0;
}

static void LookupName(const char* header, Layout layout, int16_t n, char* out,
                       std::size_t cap) {
    Text<255> result;
    CopyName(Lookup(header, layout, n, result) ? result.str() : kNotFound, out, cap);
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

void GetNames(const NameLookup* lookups, int count) {
    Wanted wanted[kMaxWanted];
    if (count > kMaxWanted) count = kMaxWanted;
    for (int i = 0; i < count; i++) {
        wanted[i].section = lookups[i].section;
        wanted[i].n = lookups[i].n;
        wanted[i].found = false;
    }
    if (FileHandle file = OpenDatabase()) {
        ScanResult found = ScanForAll(reader, wanted, count);
        // Made one after another, the first lookup the failure cut short would have ended
        // the program, and the ones after it would have found nothing.
        if (found == ScanResult::ReadError) {
            int i = 0;
            while (i < count && wanted[i].found) i++;
            for (; i < count; i++) wanted[i].found = false;
        }
        CloseDatabase(file, found);
    }
    for (int i = 0; i < count; i++)
        CopyName(wanted[i].found ? wanted[i].value.str() : kNotFound, lookups[i].name,
                 lookups[i].cap);
}
