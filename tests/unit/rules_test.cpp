#include <gtest/gtest.h>
#include <string>
#include "duel/rules.h"
#include "fake_platform.h"

TEST(Random, MapsTheTickCount) {
    struct Case {
        int32_t ticks;
        int16_t n;
        int16_t expected;
    };
    const Case cases[] = {
        {0, 3, 1},   {32, 3, 1},  {33, 3, 2},   {65, 3, 2},   {66, 3, 3},
        {99, 3, 3},  {100, 3, 1}, {-1, 3, 3},   {-100, 3, 1}, {-34, 3, 3},
        {INT32_MIN, 3, 2}, {INT32_MAX, 3, 2}, {12345, 1, 1}, {99, 1, 1},
        {99, 327, 327}, {0, 327, 4}, {5, 0, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RandomFromTicks(c.ticks, c.n), c.expected) << c.ticks << " " << c.n;
}

TEST(Random, EachOfThreeAboutAThird) {
    int count[4] = {};
    for (int32_t t = -1000; t < 1000; t++) {
        int16_t k = RandomFromTicks(t, 3);
        ASSERT_GE(k, 1);
        ASSERT_LE(k, 3);
        count[k]++;
    }
    EXPECT_EQ(count[1], 660);  // remainders 0..32
    EXPECT_EQ(count[2], 660);  // 33..65
    EXPECT_EQ(count[3], 680);  // 66..99
}

TEST(Random, ReadsTheTickCountIntoDummy) {
    fake::Reset();
    fake::ticks = 0xFFFFFFFF;  // -1 as a signed count
    EXPECT_EQ(Random(3), 3);
    EXPECT_EQ(dummy, 0xFFFFFFFFu);
}

TEST(ClickBands, StrictBoundsAndEightPixelsACharacter) {
    moves m;
    m.moveA = "Blast";  // 5 characters: x 201..239
    m.moveB = "Go";
    m.moveC = "";
    struct Case {
        int x, y, expected;
    };
    const Case cases[] = {
        {201, 301, 1}, {239, 307, 1}, {200, 301, 0}, {201, 300, 0}, {240, 301, 0},
        {239, 308, 0}, {220, 315, 0}, {201, 321, 2}, {215, 327, 2}, {216, 321, 0},
        {201, 341, 0}, {205, 345, 0}, {100, 100, 0}, {-5, 301, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClickedMove(c.x, c.y, m), c.expected) << c.x << "," << c.y;
}

TEST(Damage, FloorAtZeroAndCeilingAt32767) {
    struct Case {
        int16_t hp;
        int32_t damage;
        int16_t expected;
    };
    const Case cases[] = {
        {100, 37, 63}, {100, 0, 100}, {100, 100, 0}, {100, 150, 0}, {5, INT32_MAX, 0},
        {100, -35, 135}, {32000, -1000, 32767}, {0, INT32_MIN, 32767}, {0, 1, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(ApplyDamage(c.hp, c.damage), c.expected);
}

TEST(Bars, LengthIsHitPointsOverScale) {
    struct Case {
        int16_t hp, maxHP;
        int expected;
    };
    const Case cases[] = {
        {37, 100, 37}, {100, 100, 100}, {0, 100, 0}, {135, 100, 135},
        {150, 200, 75}, {99, 200, 49}, {50, 50, 50}, {-3, 200, -2},
    };
    for (const Case& c : cases) EXPECT_EQ(BarLength(c.hp, c.maxHP), c.expected);
}

TEST(Messages, ComposedAndCutAt254) {
    fake::Reset();
    ComposeUsed("Fluff", "Ember Kick");
    EXPECT_STREQ(msg, "Fluff used Ember Kick!");
    std::string longMove(300, 'm');
    ComposeUsed("Fluff", longMove.c_str());
    EXPECT_EQ(msg.length(), 254u);
    EXPECT_EQ(std::string(msg).substr(0, 11), "Fluff used ");
}

TEST(CommandLine, SkipAnywhereInTheFirst254Characters) {
    struct Case {
        std::string line;
        bool expected;
    };
    const Case cases[] = {
        {"C:\\vorrak.exe skip", true},
        {"C:\\skipper\\vorrak.exe", true},
        {"vorrak.exe Skip", false},
        {"vorrak.exe SKIP", false},
        {"vorrak.exe", false},
        {std::string(250, 'x') + "skip", true},
        {std::string(251, 'x') + "skip", false},
    };
    for (const Case& c : cases) EXPECT_EQ(WantsSkip(c.line.c_str()), c.expected) << c.line;
}

TEST(Pauses, ElapsedTimeAcrossTheWrap) {
    EXPECT_TRUE(TimeIsUp(100, 100, 0));
    EXPECT_FALSE(TimeIsUp(100, 1099, 1000));
    EXPECT_TRUE(TimeIsUp(100, 1100, 1000));
    EXPECT_FALSE(TimeIsUp(0xFFFFFF00u, 0x00000100u, 1000));  // 512 ms across the wrap
    EXPECT_TRUE(TimeIsUp(0xFFFFFF00u, 0x000002E8u, 1000));
}
