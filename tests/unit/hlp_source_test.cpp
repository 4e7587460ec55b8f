// The help source parser: what it builds, and what it refuses.
#include <gtest/gtest.h>

#include <string>

#include "help_source.h"

namespace {

const std::string kHead = "@title T\n@topic contents Contents\n";

hlp::HelpSource parse(const std::string& text) {
    hlp::HelpSource source;
    hlp::ParseError error;
    EXPECT_TRUE(hlp::parseHelpSource(text, source, error)) << error.line << ": " << error.message;
    return source;
}

TEST(HelpSource, ReadsTopicsAndBlocks) {
    const hlp::HelpSource s = parse(
        "; a comment\n"
        "@title  Game Help \n"
        "@topic contents Contents page\n"
        "# Start\n"
        "One\n"
        "  two\n"
        "\n"
        "- item {Rules|rules} end\n"
        "  more\n"
        "|   7 Pebblit  \n"
        "|\n"
        "@topic rules Rules\n"
        "Text.\n");
    EXPECT_EQ(s.title, "Game Help");
    ASSERT_EQ(s.topics.size(), 2u);
    EXPECT_EQ(s.topics[0].id, "contents");
    EXPECT_EQ(s.topics[0].title, "Contents page");
    const auto& p = s.topics[0].paragraphs;
    ASSERT_EQ(p.size(), 4u);
    EXPECT_EQ(p[0].kind, hlp::Block::Heading);
    EXPECT_EQ(p[0].spans[0].text, "Start");
    EXPECT_EQ(p[1].kind, hlp::Block::Body);
    ASSERT_EQ(p[1].spans.size(), 1u);
    EXPECT_EQ(p[1].spans[0].text, "One two");
    EXPECT_EQ(p[2].kind, hlp::Block::Bullet);
    ASSERT_EQ(p[2].spans.size(), 3u);
    EXPECT_EQ(p[2].spans[0].text, "item ");
    EXPECT_EQ(p[2].spans[1].text, "Rules");
    EXPECT_EQ(p[2].spans[1].target, "rules");
    EXPECT_EQ(p[2].spans[1].line, 8);
    EXPECT_EQ(p[2].spans[2].text, " end more");
    EXPECT_EQ(p[3].kind, hlp::Block::Fixed);
    EXPECT_EQ(p[3].lines, (std::vector<std::string>{"  7 Pebblit  ", ""}));
}

TEST(HelpSource, ReadsInlineMarks) {
    struct Case {
        const char* line;
        std::vector<std::pair<std::string, bool>> spans;  // text, bold
    };
    const Case cases[] = {
        {"a *b* c", {{"a ", false}, {"b", true}, {" c", false}}},
        {"2 ** 3 {{x}} C:\\dir\\", {{"2 * 3 {x} C:\\dir\\", false}}},
        {"*all*", {{"all", true}}},
        {"[Moves] <x> | y", {{"[Moves] <x> | y", false}}},
    };
    for (const auto& c : cases) {
        const hlp::HelpSource s = parse(kHead + c.line + "\n");
        const auto& spans = s.topics[0].paragraphs.at(0).spans;
        ASSERT_EQ(spans.size(), c.spans.size()) << c.line;
        for (std::size_t i = 0; i < spans.size(); ++i) {
            EXPECT_EQ(spans[i].text, c.spans[i].first) << c.line;
            EXPECT_EQ(spans[i].bold, c.spans[i].second) << c.line;
        }
    }
}

TEST(HelpSource, BoldMayGoOnOverLinesAndJumpsKeepEscapes) {
    const hlp::HelpSource s = parse(kHead + "x *a\nb* {1 ** 2 {{|contents}\n");
    const auto& spans = s.topics[0].paragraphs.at(0).spans;
    ASSERT_EQ(spans.size(), 4u);
    EXPECT_EQ(spans[1].text, "a b");
    EXPECT_TRUE(spans[1].bold);
    EXPECT_EQ(spans[3].text, "1 * 2 {");
    EXPECT_EQ(spans[3].target, "contents");
}

TEST(HelpSource, StoresText1252AndAcceptsCrLf) {
    const hlp::HelpSource s = parse("\xEF\xBB\xBF@title T\r\n@topic contents C\r\n145 \xC3\x97 138 \xE2\x80\xA2 \xE2\x82\xAC\r\n");
    EXPECT_EQ(s.topics[0].paragraphs.at(0).spans.at(0).text, "145 \xD7 138 \x95 \x80");
}

TEST(HelpSource, RejectsBadInputWithLineAndReason) {
    struct Case {
        std::string text;
        int line;
        const char* message;
    };
    const Case cases[] = {
        {"", 0, "missing @title"},
        {"@title T\n", 0, "no @topic"},
        {"@topic a A\nx\n", 0, "missing @title"},
        {"@title T\n@title U\n", 2, "@title given twice"},
        {"@title\n", 1, "@title needs a text"},
        {"@title " + std::string(51, 'x') + "\n", 1, "longer than 50"},
        {"@title T\nhello\n", 2, "text before the first @topic"},
        {"@title T\n@chapter x\n", 2, "unknown directive @chapter"},
        {kHead + "@topic rules\n", 3, "needs an id and a title"},
        {kHead + "@topic ru-les Rules\n", 3, "bad topic id \"ru-les\""},
        {kHead + "@topic Contents Again\n", 3, "duplicate topic id \"Contents\" (first at line 2)"},
        {kHead + "@topic nfghrtf Twin\n@topic g27ewub Other\n", 4, "same hash"},
        {kHead + "see {Rules|rules}\n", 3, "unknown jump target \"rules\""},
        {kHead + "see {Rules|Contents}\n", 3, "unknown jump target \"Contents\""},
        {kHead + "see {Rules}\n", 3, "jump without '|'"},
        {kHead + "see {Rules|contents\n", 3, "not closed"},
        {kHead + "see {|contents}\n", 3, "empty jump text"},
        {kHead + "see { |contents}\n", 3, "empty jump text"},
        {kHead + "see {a|}\n", 3, "bad topic id \"\" in jump"},
        {kHead + "see {a *b*|contents}\n", 3, "'*' inside a jump"},
        {kHead + "see {a {b|contents}\n", 3, "'{' inside a jump"},
        {kHead + "a } b\n", 3, "'}' without '{'"},
        {kHead + "a\n*b\nc\n\nd\n", 4, "bold run not closed"},
        {kHead + "- *b\n- c\n", 3, "bold run not closed"},
        {kHead + "#\n", 3, "empty heading"},
        {kHead + "- \n", 3, "empty bulleted line"},
        {kHead + "a\tb\n", 3, "tab character"},
        {kHead + "a\rb\n", 3, "control character 0x0D"},
        {kHead + std::string("a\0b\n", 4), 3, "control character 0x00"},
        {kHead + "\xC3\n", 3, "malformed UTF-8"},
        {kHead + "\xC0\xAF\n", 3, "malformed UTF-8"},
        {kHead + "\xED\xA0\x80\n", 3, "malformed UTF-8"},
        {kHead + "\xE2\x86\x92\n", 3, "U+2192 is not in Windows-1252"},
    };
    for (const auto& c : cases) {
        hlp::HelpSource source;
        hlp::ParseError error;
        EXPECT_FALSE(hlp::parseHelpSource(c.text, source, error)) << c.message;
        EXPECT_EQ(error.line, c.line) << c.message;
        EXPECT_NE(error.message.find(c.message), std::string::npos) << error.message;
    }
}

TEST(HelpSource, RefusesMoreTopicsThanTheContextPageHolds) {
    std::string text = "@title T\n";
    for (int i = 0; i < 255; ++i) text += "@topic t" + std::to_string(i) + " T\n";
    hlp::HelpSource source;
    hlp::ParseError error;
    EXPECT_TRUE(hlp::parseHelpSource(text, source, error));
    text += "@topic last T\n";
    EXPECT_FALSE(hlp::parseHelpSource(text, source, error));
    EXPECT_EQ(error.line, 257);
}

}  // namespace
