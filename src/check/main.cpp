// vorcheck [--ini FILE] [--all] [--json] [DATA_DIR]: tells an author what the game will do
// with a settings file, its database and its pictures, using the game's own reader.
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include "check/check.h"
#include "check/report.h"
#include "data/settings.h"
#include "duel/platform.h"
#include "duel/screen.h"
#include "duel/state.h"

namespace {

const char kUsage[] =
    "usage: vorcheck [--ini FILE] [--all] [--json] [--screen FILE.bmp] [DATA_DIR]\n"
    "  --ini FILE  the settings file (default: vorrak.ini in the Windows directory)\n"
    "  --all       check every record and picture, not only those the settings name\n"
    "  --json      print the findings and the records read as JSON\n"
    "  --screen FILE.bmp\n"
    "              also draw the duel screen of the settings' match, as the game shows\n"
    "              it once the opening is over, into a 593 x 433 bitmap (its text in\n"
    "              a pixel font of its own, not the game's)\n"
    "  DATA_DIR    the data folder (default: the settings' Path)\n"
    "Exit code: 0 without errors, 1 with errors, 2 when the files can't be read.\n";

const char* BaseName(const char* name) {
    const char* base = name;
    for (const char* p = name; *p; p++)
        if (*p == '\\' || *p == '/') base = p + 1;
    return base;
}

// To standard error, without printf: mingw's own would bloat the exe.
void Complain(const char* a, const char* b = "", const char* c = "") {
    for (const char* t : {"vorcheck: ", a, b, c, "\n"}) std::fputs(t, stderr);
}

int CantRead(const char* what) {
    Complain(what);
    return 2;
}

void PrintSettingsJson(const SettingLines& lines) {
    Print("\"settings\": {\"file\": ");
    PrintJsonName(lines.file);
    Print(", \"read\": ");
    Print(lines.read ? "true" : "false");
    Print(", \"Path\": ");
    PrintJsonName(path);
    for (int i = 0; i < kPathSetting; i++) {
        Print(", ");
        PrintJson(SettingName(i));
        Print(": ");
        PrintNumber(SettingValue(i));
    }
    Print("}");
}

}  // namespace

// The game's platform services, as far as its reader and its screen ask for them. The
// screen is drawn without waiting: a pause only moves the clock on.
static uint32_t ticks;
uint32_t TickCount() { return ticks; }
void Pause(uint32_t ms) { ticks += ms; }
void Message(const char* text) { Complain(text); }
void CloseMainWindow() { ending = true; }

int main(int argc, char** argv) {
    StartPlatform();
    // The page's studio checks its draft again and again in one process.
    ResetFindings();
    ResetPictures();
    CheckOptions options;
    const char* ini = nullptr;
    const char* dataDir = nullptr;
    const char* screen = nullptr;
    for (int i = 1; i < argc; i++) {
        if (!std::strcmp(argv[i], "--all")) options.all = true;
        else if (!std::strcmp(argv[i], "--json")) options.json = true;
        else if (!std::strcmp(argv[i], "--ini") && i + 1 < argc) ini = argv[++i];
        else if (!std::strcmp(argv[i], "--screen") && i + 1 < argc) screen = argv[++i];
        else if (argv[i][0] != '-' && !dataDir) dataDir = argv[i];
        else {
            std::fputs(kUsage, stderr);
            return 2;
        }
    }

    char defaultIni[1024];
    if (!ini && WindowsDirectory(defaultIni, sizeof defaultIni - 16)) {
        std::strcat(defaultIni, "\\vorrak.ini");
        ini = defaultIni;
    }
    SettingLines settings;
    if (ini && !CheckSettings(ini, BaseName(ini), settings)) {
        if (ini != defaultIni) return CantRead("can't read the settings file");
        Report(Severity::Error, "vorrak.ini",
               "there is no vorrak.ini in the Windows directory: the game starts with every "
               "number 0 and looks for its data in the folder it is started from");
    }
    if (!ini) settings.file = "vorrak.ini";
    if (!ini && !dataDir) {
        std::fputs(kUsage, stderr);
        return CantRead("no settings file: name it with --ini, or name the data folder");
    }

    if (dataDir) {
        path = dataDir;
        const char last = dataDir[0] ? dataDir[std::strlen(dataDir) - 1] : 0;
        if (last != '\\' && last != '/') path += kSeparator;
    }
    // Without its database the game shows one box and ends: so does the check, after
    // saying what it found in the settings.
    const bool readable = CheckDatabase(options, settings);
    if (readable) {
        CheckPictures(options, settings.read);
    } else {
        Sentence s;
        s = "the game can't find or read \"";
        s += path;
        s += "master.dat\": it says so and ends";
        Report(Severity::Error, "master.dat", s);
    }

    // Drawn after the checks, so that what it looked up shows in no finding twice.
    const bool drawn = !screen || (readable && WriteDuelScreen(screen));
    if (!drawn) Complain("can't draw the duel screen into ", screen);

    if (options.json) {
        Print("{");
        PrintSettingsJson(settings);
        Print(",\n  \"findings\": ");
        PrintFindingsJson();
        // Past the findings kept, only these counts go on.
        Print(",\n  \"errors\": ");
        PrintNumber(ErrorCount());
        Print(", \"warnings\": ");
        PrintNumber(WarningCount());
        Print(",\n  ");
        PrintRecordsJson();
        Print(",\n  ");
        PrintPicturesJson();
        Print("\n}\n");
    } else {
        PrintFindings();
        PrintPictures();
        Print("vorcheck: ");
        if (ErrorCount() + WarningCount() == 0) {
            Print("no findings: ");
        } else {
            PrintNumber(ErrorCount());
            Print(ErrorCount() == 1 ? " error, " : " errors, ");
            PrintNumber(WarningCount());
            Print(WarningCount() == 1 ? " warning; " : " warnings; ");
        }
        PrintNumber(RecordCount(kNames));
        Print(" creatures, ");
        PrintNumber(RecordCount(kTrainers));
        Print(" trainers, ");
        PrintNumber(RecordCount(kMoves));
        Print(" moves\n");
    }
    std::fflush(stdout);
    return !readable || !drawn ? 2 : ErrorCount() ? 1 : 0;
}
