#include <gtest/gtest.h>
#include "duel/text.h"

TEST(Text, CopiesAndAppendsCutAtCapacityLessOne) {
    struct Case {
        const char* first;
        const char* second;
        const char* expected;
    };
    const Case cases[] = {
        {"", "", ""},
        {"abc", "de", "abcde"},
        {"abcdefghij", "", "abcdefghij"},
        {"abcdefghijk", "", "abcdefghij"},
        {"abcdefgh", "xyz", "abcdefghxy"},
        {"abcdefghij", "xyz", "abcdefghij"},
    };
    for (const Case& c : cases) {
        Text<11> text;
        text = c.first;
        text += c.second;
        EXPECT_STREQ(text, c.expected) << c.first << " + " << c.second;
        EXPECT_LE(text.length(), 10u);
    }
}

TEST(Text, AppendsItselfAndCuts) {
    Text<8> text;
    text = "abcd";
    text += text;
    EXPECT_STREQ(text, "abcdabc");
    text.cut(2);
    EXPECT_STREQ(text, "ab");
    text.cut(5);
    EXPECT_STREQ(text, "ab");
}
