#include <gtest/gtest.h>
#include "data/number.h"

TEST(NumberSyntax, ReadsAndRejects) {
    struct Case {
        const char* text;
        bool ok;
        int32_t value;
    };
    const Case cases[] = {
        {"7", true, 7},          {" 7 ", true, 7},      {"007", true, 7},
        {"+7", true, 7},         {"7H", true, 7},       {"-3", true, -3},
        {"3-", true, -3},        {"-3-", true, -3},     {"+3-", true, -3},
        {"1Ah", true, 26},       {"ffH", true, 255},    {"10h", true, 16},
        {"-", true, 0},          {"+", true, 0},        {"+-", true, 0},
        {"0010", true, 10},      {"2147483647", true, 2147483647},
        {"-2147483648", true, INT32_MIN},               {"7FFFFFFFh", true, INT32_MAX},
        {"", false, 0},          {"   ", false, 0},      {"h", false, 0},
        {" H ", false, 0},       {"7a", false, 0},      {"seven", false, 0},
        {"\t7", false, 0},       {"1 2", false, 0},     {"--5", false, 0},
        {"5--", false, 0},       {"2147483648", false, 0}, {"80000000h", false, 0},
        {"ff", false, 0},        {"99999999999999999999", false, 0},
    };
    for (const Case& c : cases) {
        int32_t v = 12345;
        EXPECT_EQ(ParseNumber(c.text, v), c.ok) << '"' << c.text << '"';
        if (c.ok) {
            EXPECT_EQ(v, c.value) << '"' << c.text << '"';
        }
        EXPECT_EQ(NumberOf(c.text), c.ok ? c.value : kNotANumber) << '"' << c.text << '"';
    }
}

TEST(NumberSyntax, DecimalTextRoundTrips) {
    const int32_t cases[] = {0, 7, -7, 10, 32767, -32768, INT32_MAX, INT32_MIN, 1000000};
    for (int32_t v : cases) {
        char text[12];
        DecimalText(v, text);
        EXPECT_EQ(std::string(text), std::to_string(v));
        EXPECT_EQ(NumberOf(text), v) << text;
    }
}
