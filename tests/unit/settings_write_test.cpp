// The settings rewrite keeps what it does not own, line by line and byte by byte.
#include <gtest/gtest.h>
#include <string>
#include "data/settings_write.h"

namespace {

// Opp, You, TrainerYou, TrainerOpp, Move1-3, OppMove1-3
const Match kMatch = {{2, 1, 3, 4, 5, 6, 7, 8, 9, 10}};
const std::string kAll =
    "Opp=2\r\nYou=1\r\nTrainerYou=3\r\nTrainerOpp=4\r\nMove1=5\r\nMove2=6\r\nMove3=7\r\n"
    "OppMove1=8\r\nOppMove2=9\r\nOppMove3=10\r\n";

std::string Rewrite(const std::string& old, const char* folder = nullptr) {
    Buffer<char> out;
    std::size_t size = 0;
    EXPECT_TRUE(RewriteSettings(old.data(), old.size(), kMatch, folder, out, size));
    return std::string(out.data() ? out.data() : "", size);
}

TEST(SettingsWrite, KeepsWhatItDoesNotOwn) {
    struct Case {
        const char* what;
        std::string old;
        const char* folder;
        std::string expected;
    };
    const std::string tail = kAll.substr(kAll.find("TrainerYou"));  // the keys after You
    const Case cases[] = {
        {"missing file", "", nullptr, kAll},
        {"missing file, with the data folder", "", "C:\\G\\data\\", kAll + "Path=C:\\G\\data\\\r\n"},
        {"only comments", "; mine\r\n# notes\n", nullptr, "; mine\r\n# notes\n" + kAll},
        {"the same match again", kAll, nullptr, kAll},
        {"values replaced in place, line ends kept",
         "Path=D:\\x\\\nYou=7\rOpp=9\r\n; me\n", nullptr,
         "Path=D:\\x\\\nYou=1\rOpp=2\r\n; me\n" + tail},
        {"Path is the player's", "Path=E:\\mine\\\r\n", "C:\\other\\",
         "Path=E:\\mine\\\r\n" + kAll},
        {"a key given twice: both lines follow", "You=3\r\nYou=4\r\n", nullptr,
         "You=1\r\nYou=1\r\n" + std::string("Opp=2\r\n") + tail},
        {"keys the game ignores stay", " You=3\r\nyou=3\r\nYou =3\r\nYouX=3\r\n", nullptr,
         " You=3\r\nyou=3\r\nYou =3\r\nYouX=3\r\n" + kAll},
        {"last line without its end", "; last", nullptr, "; last\r\n" + kAll},
        {"last line without its end, nothing added", kAll + "; last", nullptr, kAll + "; last"},
        {"a value that was not a number", "Move1=lots\r\n", nullptr,
         "Move1=5\r\n" + kAll.substr(0, kAll.find("Move1")) + kAll.substr(kAll.find("Move2"))},
        {"blank lines and lone CRs", "\r\r\n\n", nullptr, "\r\r\n\n" + kAll},
    };
    for (const Case& c : cases) EXPECT_EQ(Rewrite(c.old, c.folder), c.expected) << c.what;
}

TEST(SettingsWrite, NegativeNumbersAndEveryKey) {
    Match m = {{-1, -32768, 32767, 0, 1, 2, 3, 4, 5, 6}};
    Buffer<char> out;
    std::size_t size = 0;
    ASSERT_TRUE(RewriteSettings(nullptr, 0, m, nullptr, out, size));
    EXPECT_EQ(std::string(out.data(), size),
              "Opp=-1\r\nYou=-32768\r\nTrainerYou=32767\r\nTrainerOpp=0\r\nMove1=1\r\nMove2=2\r\n"
              "Move3=3\r\nOppMove1=4\r\nOppMove2=5\r\nOppMove3=6\r\n");
}

}  // namespace
