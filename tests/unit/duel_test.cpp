// Whole duels on the pixel screen, with a clock that moves on at every pause.
#include <gtest/gtest.h>
#include <deque>
#include <string>
#include <tuple>
#include <vector>
#include "bmp_builder.h"
#include "duel/duel.h"
#include "duel/state.h"
#include "fake_platform.h"
#include "gfx/pixel_screen.h"
#include "temp_files.h"

namespace {

// Colours as the screen holds them: red + 256 green + 65536 blue.
constexpr uint32_t kRed = 0xC8, kBlue = 0xC8 << 16, kGreen = 0xFF00, kWhite = 0xFFFFFF;

// A pixel of the screen; off it, a colour no picture has.
uint32_t At(int x, int y) {
    if (x < 0 || y < 0 || x >= kScreenWidth || y >= kScreenHeight) return 0xDEAD;
    return screenPixels[y * kScreenWidth + x] & 0xFFFFFF;
}

// A w x h picture of one colour whose first stored column is red, to tell mirroring.
std::string Picture(int w, int h, uint32_t colour) {
    auto file = [](uint32_t c) { return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF); };
    std::vector<std::vector<uint32_t>> rows(h, std::vector<uint32_t>(w, file(colour)));
    for (auto& row : rows) row[0] = file(kRed);
    std::vector<uint8_t> bytes = MakeBmp(rows);
    return std::string(bytes.begin(), bytes.end());
}

struct Seen {  // the screen at a pause
    std::string message;
    uint32_t oppTrainer, oppCreature, yourCreature;
};

struct Duel {
    TempDir dir;
    std::deque<std::pair<int, int>> clicks;  // the front end's queue
    std::vector<Seen> seen;

    explicit Duel(int oppDamage = 30, bool database = true) {
        fake::Reset();
        if (database)
            dir.write("master.dat",
                      "[Moves]\r\n1=Jab\r\n2=Swipe Low\r\n3=Tackle Hard\r\n11=Zap\r\n"
                      "[Trainers]\r\n1=Rex\r\n2=Mara\r\n[Names]\r\n001 Fluff\r\n002 Spark\r\n"
                      "[Damage]\r\n1=40\r\n2=0\r\n3=150\r\n11=" + std::to_string(oppDamage) + "\r\n");
        dir.write("1.bmp", Picture(56, 50, kBlue));
        dir.write("2.bmp", Picture(57, 41, kBlue));
        dir.write("t1.bmp", Picture(100, 80, kGreen));
        dir.write("vorrak.ini", "Path=" + dir.prefix() + "\r\nYou=1\r\nOpp=2\r\nTrainerYou=2\r\n"
                  "TrainerOpp=1\r\nMove1=1\r\nMove2=2\r\nMove3=3\r\nOppMove1=11\r\nOppMove2=11\r\n"
                  "OppMove3=11\r\n");
        fake::windowsDir = dir.dir.string();
    }
    void Start(const char* commandLine) {
        PrepareDuel();
        InvalidateScreen();
        onPaint();
        BeginDuel(commandLine);
    }
    void Look() {
        std::string m = msg.str();
        m.erase(m.find_last_not_of(' ') + 1);
        seen.push_back({m, At(480, 100), At(480, 160), At(60, 400)});
    }
    // Clicks on move k's band; those made meanwhile wait their turn, as in a message queue.
    void Click(int k) {
        clicks.push_back({205, 304 + 20 * (k - 1)});
        while (!clicks.empty() && !ending) {
            auto [x, y] = clicks.front();
            clicks.pop_front();
            onClick(x, y);
        }
    }
};
Duel* current;

TEST(Duel, OpeningFramesInOrder) {
    Duel d;
    current = &d;
    fake::duringPause = [] { current->Look(); };
    d.Start("vorrak.exe");
    d.Look();
    const std::vector<Seen> wanted = {
        {"Rex wants to fight!", kGreen, kGreen, kWhite},
        {"Rex sent out Spark!", kWhite, kBlue, kWhite},
        {"Go! Fluff!", kWhite, kBlue, kBlue},
    };
    ASSERT_EQ(d.seen.size(), wanted.size());
    for (std::size_t i = 0; i < wanted.size(); i++) {
        EXPECT_EQ(d.seen[i].message, wanted[i].message) << i;
        EXPECT_EQ(d.seen[i].oppTrainer, wanted[i].oppTrainer) << i;
        EXPECT_EQ(d.seen[i].oppCreature, wanted[i].oppCreature) << i;
        EXPECT_EQ(d.seen[i].yourCreature, wanted[i].yourCreature) << i;
    }
    EXPECT_EQ(fake::pauses, (std::vector<uint32_t>{1500, 1500}));
    EXPECT_TRUE(showPics);
}

TEST(Duel, ToEachEnd) {
    struct Case {
        int oppDamage, move, clicks;
        std::vector<std::string> messages;
        std::vector<uint32_t> pauses;
    };
    const Case cases[] = {
        {30, 3, 1, {"Fluff used Tackle Hard!", "You won again!"}, {500, 2000}},
        {100, 2, 1, {"Fluff used Swipe Low!", "Spark used Zap!", "Rex won!"}, {1000, 500, 2000}},
        {30, 1, 3, {"Fluff used Jab!", "Spark used Zap!", "Fluff used Jab!", "Spark used Zap!",
                    "Fluff used Jab!", "You won again!"}, {1000, 1000, 1000, 1000, 500, 2000}},
    };
    for (const Case& c : cases) {
        Duel d(c.oppDamage);
        current = &d;
        d.Start("vorrak.exe skip");
        fake::duringPause = [] { current->Look(); };
        for (int i = 0; i < c.clicks; i++) d.Click(c.move);
        std::vector<std::string> messages;
        for (const Seen& s : d.seen)
            if (messages.empty() || messages.back() != s.message) messages.push_back(s.message);
        EXPECT_EQ(messages, c.messages);
        EXPECT_EQ(fake::pauses, c.pauses);
        EXPECT_EQ(fake::windowCloses, 1);
        EXPECT_TRUE(fake::boxes.empty());
    }
}

TEST(Duel, ClicksDuringATurnAreHandledAfterIt) {
    Duel d;
    current = &d;
    d.Start("skip");
    fake::duringPause = [] {
        if (fake::pauses.size() == 1) current->clicks.push_back({205, 344});  // Tackle Hard
    };
    d.Click(1);
    EXPECT_EQ(oppHP, 0);
    EXPECT_EQ(fake::pauses, (std::vector<uint32_t>{1000, 1000, 500, 2000}));
    EXPECT_EQ(std::string(msg.str()).substr(0, 14), "You won again!");
}

TEST(Duel, MissingDatabaseShowsOneBoxThenEnds) {
    Duel d(30, false);
    d.Start("vorrak.exe");
    d.Click(1);
    EXPECT_EQ(fake::boxes, std::vector<std::string>{"Can't find master.dat file!"});
    EXPECT_EQ(fake::windowCloses, 1);
    EXPECT_TRUE(fake::pauses.empty());
}

// Frames, bars and pictures of odd sizes at their pixels: pictures bottom-centred, the
// player's mirrored (its first stored column on the right), wider ones past their frame.
TEST(PixelScreen, BarsAndPicturesAtTheirPixels) {
    struct Case {
        int w, h, hp;
    };
    for (const Case& c : {Case{56, 50, 37}, Case{57, 41, 100}, Case{1, 1, 0}, Case{3, 3, 1},
                          Case{200, 30, 150}}) {
        Duel d;
        d.dir.write("1.bmp", Picture(c.w, c.h, kBlue));
        d.dir.write("2.bmp", Picture(c.w, c.h, kBlue));
        d.Start("skip");
        showPics = true;
        youHP = oppHP = int16_t(c.hp);
        InvalidateScreen();
        onPaint();
        for (const auto& [centre, base, mirror] : {std::tuple{84, 419, true}, {480, 179, false}}) {
            const int left = centre - c.w / 2, right = left + c.w - 1, top = base - c.h + 1;
            if (left < 1) continue;  // a wide player's picture runs off the screen
            EXPECT_EQ(At(mirror ? right : left, base), kRed) << c.w;
            EXPECT_EQ(At(mirror ? left : right, top), c.w == 1 ? kRed : kBlue) << c.w;
            EXPECT_EQ(At(left - 1, base - 1), kWhite) << c.w;
            EXPECT_EQ(At(right + 1, base - 1), kWhite) << c.w;
            EXPECT_EQ(At(left, top - 1), top - 1 == 280 || top - 1 == 40 ? 0u : kWhite) << c.w;
        }
        for (int barLeft : {11, 451}) {
            const int top = barLeft == 11 ? 266 : 26;
            for (int x = barLeft; x < barLeft + 100; x++)
                ASSERT_EQ(At(x, top + 4), x < barLeft + c.hp ? kGreen : kWhite) << x << " hp " << c.hp;
            EXPECT_EQ(At(barLeft - 1, top), 0u);  // the frame
        }
        EXPECT_EQ(fake::windowCloses, c.hp == 0 ? 1 : 0);
    }
}

}  // namespace
