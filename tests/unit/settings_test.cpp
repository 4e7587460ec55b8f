#include <gtest/gtest.h>
#include <string>
#include "data/settings.h"
#include "duel/state.h"
#include "fake_platform.h"
#include "temp_files.h"

namespace {

struct Settings : ::testing::Test {
    TempDir dir;
    void SetUp() override {
        fake::Reset();
        fake::windowsDir = dir.dir.string();
    }
    void Read(const std::string& content) {
        dir.write("vorrak.ini", content);
        GetInfo();
    }
};

TEST_F(Settings, ReadsEveryKey) {
    Read("Opp=1\r\nYou=2\r\nPath=C:\\game\\\r\nTrainerYou=3\r\nTrainerOpp=4\r\n"
         "Move1=5\r\nMove2=6\r\nMove3=7\r\nOppMove1=8\r\nOppMove2=9\r\nOppMove3=10");
    EXPECT_EQ(oppNum, 1);
    EXPECT_EQ(youNum, 2);
    EXPECT_STREQ(path, "C:\\game\\");
    EXPECT_EQ(youTNum, 3);
    EXPECT_EQ(oppTNum, 4);
    EXPECT_EQ(youMove.moveValA, 5);
    EXPECT_EQ(youMove.moveValB, 6);
    EXPECT_EQ(youMove.moveValC, 7);
    EXPECT_EQ(oppMove.moveValA, 8);
    EXPECT_EQ(oppMove.moveValB, 9);
    EXPECT_EQ(oppMove.moveValC, 10) << "a last line without a line end counts";
}

TEST_F(Settings, ValuesAndKeys) {
    struct Case {
        const char* what;
        std::string file;
        int16_t you;
        const char* path;
    };
    const Case cases[] = {
        {"empty file", "", 0, ""},
        {"blanks around value", "You= 25 \n", 25, ""},
        {"plus sign", "You=+25\n", 25, ""},
        {"sign last", "You=3-\n", -3, ""},
        {"hex", "You=1Ah\n", 26, ""},
        {"leading zeros", "You=0010\n", 10, ""},
        {"hex 10h", "You=10h\n", 16, ""},
        {"last one wins", "You=7\nOpp=1\nYou=9\n", 9, ""},
        {"lower-case key", "you=7\n", 0, ""},
        {"blank before key", " You=7\n", 0, ""},
        {"blank after key", "You =7\n", 0, ""},
        {"section header", "[Settings]\nYou=4\n", 4, ""},
        {"line starting with =", "=5\n", 0, ""},
        {"free text", "hello world\n", 0, ""},
        {"not a number ignored", "You=4\nYou=four\n", 4, ""},
        {"empty value ignored", "You=4\nYou=\n", 4, ""},
        {"out of range ignored", "You=4\nYou=32768\n", 4, ""},
        {"lowest 16-bit value", "You=-32768\n", -32768, ""},
        {"path verbatim", "Path= C:\\x y\\ \n", 0, " C:\\x y\\ "},
        {"path empty", "Path=C:\\a\\\nPath=\n", 0, ""},
        {"path keeps later =", "Path=a=b\n", 0, "a=b"},
        {"key alone is key and value", "Path\n", 0, "Path"},
        {"CR only", "You=5\rPath=p\r", 5, "p"},
    };
    for (const Case& c : cases) {
        fake::Reset();
        fake::windowsDir = dir.dir.string();
        Read(c.file);
        EXPECT_EQ(youNum, c.you) << c.what;
        EXPECT_STREQ(path, c.path) << c.what;
    }
}

TEST_F(Settings, LongLineIsSplit) {
    // 254 characters, then the rest of the line read as a line of its own.
    Read(std::string(254, 'x') + "You=12\n");
    EXPECT_EQ(youNum, 12);
}

TEST_F(Settings, MissingFileOrDirectoryLeavesDefaults) {
    GetInfo();
    EXPECT_EQ(youNum, 0);
    fake::windowsDir.clear();
    GetInfo();
    EXPECT_STREQ(path, "");
    EXPECT_TRUE(fake::boxes.empty());
}

TEST_F(Settings, ReadsOnlyTheWindowsDirectory) {
    TempDir other;
    other.write("vorrak.ini", "You=5\n");
    fake::windowsDir = (other.dir / "nowhere").string();
    GetInfo();
    EXPECT_EQ(youNum, 0);
}

}  // namespace
