// Fuzzes the data checker's own passes: any database and any picture bytes, any settings,
// give findings and records without a fault, and JSON that stays within its text.
#include <cstdio>
#include <cstring>
#include "check/check.h"
#include "check/report.h"
#include "duel/state.h"
#include "memory_files.h"

// The checker's own platform bits; the rest comes from the unit tests' stand-in.
extern const char kSeparator[] = "/";
void StartPlatform() {}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool quiet = std::freopen("/dev/null", "w", stdout) != nullptr;
    (void)quiet;
    if (size < 11) return 0;
    CheckOptions options;
    options.all = data[0] & 1;
    SettingLines settings;
    settings.file = "vorrak.ini";
    settings.read = data[0] & 2;
    int16_t* numbers[] = {&oppNum, &youNum, &youTNum, &oppTNum, &youMove.moveValA, &youMove.moveValB,
                          &youMove.moveValC, &oppMove.moveValA, &oppMove.moveValB, &oppMove.moveValC};
    for (int k = 0; k < 10; k++) {
        *numbers[k] = int16_t(data[1 + k] % 8);  // small numbers meet the records
        settings.line[k] = data[1 + k] & 8 ? k + 1 : 0;
    }
    path = "";
    ending = false;
    ResetFindings();
    // Every file the checker opens, master.dat and the pictures alike, has these bytes.
    memory_file::Set(data + 11, size - 11);
    if (CheckDatabase(options, settings)) {
        CheckPictures(options, settings.read);
        PrintRecordsJson();
        PrintPicturesJson();
    }
    PrintFindingsJson();
    return 0;
}
