// The data checker run twice in one process, as the fuzzer runs it millions of times: its
// tables outlive a check, and the second check must still tell only of its own files.
#include <gtest/gtest.h>
#include <string>
#include "check/check.h"
#include "check/report.h"
#include "duel/state.h"
#include "temp_files.h"

static std::string CheckAll(const TempDir& data) {
    const std::string folder = data.prefix();
    path = folder.c_str();
    ResetFindings();
    CheckOptions options;
    options.all = true;
    SettingLines settings;
    settings.file = "vorrak.ini";
    testing::internal::CaptureStdout();
    if (CheckDatabase(options, settings)) {
        CheckPictures(options, false);
        PrintRecordsJson();
        PrintPicturesJson();
    }
    PrintFindingsJson();
    return testing::internal::GetCapturedStdout();
}

TEST(Checker, ASecondCheckTellsOnlyOfItsOwnFiles) {
    struct Case {
        const char* what;
        std::string first, second;
    };
    const Case cases[] = {
        {"the first gives the record on a later line", "[Moves]\r\n\r\n\r\n1=Jab\r\n",
         "[Moves]\r\n1=Kick\r\n"},
        {"only the first gives the move's damage", "[Damage]\r\n1=10\r\n", "[Moves]\r\n1=Jab\r\n"},
        {"the same numbers, other sections", "[Damage]\r\n1=10\r\n[Moves]\r\n1=Jab\r\n",
         "[Moves]\r\n\r\n1=Jab\r\n[Names]\r\n001 Fluff\r\n"},
        {"the second is empty", "[Trainers]\r\n7=Ann\r\n", ""},
    };
    for (const Case& c : cases) {
        TempDir first, second;
        first.write("master.dat", c.first);
        second.write("master.dat", c.second);
        CheckAll(second);
        const std::string again = CheckAll(second);
        CheckAll(first);
        const std::string afterFirst = CheckAll(second);
        EXPECT_EQ(afterFirst, again) << c.what;
        EXPECT_EQ(again.find("given again"), std::string::npos) << c.what;
    }
}
