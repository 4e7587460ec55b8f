// Help file format pieces: the encodings the viewer silently misreads when wrong.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "btree.h"
#include "compressed.h"
#include "context_hash.h"
#include "font_file.h"
#include "system_file.h"
#include "text_record.h"
#include "topic_pos.h"

using hlp::Bytes;

namespace {

std::uint32_t u16At(const Bytes& b, std::size_t at) { return b[at] | b[at + 1] << 8; }
std::uint32_t u32At(const Bytes& b, std::size_t at) { return u16At(b, at) | u16At(b, at + 2) << 16; }

struct CompressedCase {
    bool (*put)(Bytes&, long);
    long value;
    Bytes bytes;
};

TEST(Compressed, EncodesTestVectors) {
    const CompressedCase cases[] = {
        {hlp::putCompressedUShort, 0, {0x00}},
        {hlp::putCompressedUShort, 20, {0x28}},
        {hlp::putCompressedUShort, 127, {0xFE}},
        {hlp::putCompressedUShort, 128, {0x01, 0x01}},
        {hlp::putCompressedUShort, 1000, {0xD1, 0x07}},
        {hlp::putCompressedUShort, 32767, {0xFF, 0xFF}},
        {hlp::putCompressedShort, 0, {0x80}},
        {hlp::putCompressedShort, 6, {0x8C}},
        {hlp::putCompressedShort, 12, {0x98}},
        {hlp::putCompressedShort, 63, {0xFE}},
        {hlp::putCompressedShort, 64, {0x81, 0x80}},
        {hlp::putCompressedShort, -5, {0x76}},
        {hlp::putCompressedShort, -64, {0x00}},
        {hlp::putCompressedLong, 12, {0x18, 0x80}},
        {hlp::putCompressedLong, 16383, {0xFE, 0xFF}},
        {hlp::putCompressedLong, 16384, {0x01, 0x80, 0x00, 0x80}},
    };
    for (const auto& c : cases) {
        Bytes b;
        ASSERT_TRUE(c.put(b, c.value)) << c.value;
        EXPECT_EQ(b, c.bytes) << c.value;
    }
}

TEST(Compressed, RejectsValuesWithoutEncoding) {
    const std::pair<bool (*)(Bytes&, long), long> cases[] = {
        {hlp::putCompressedUShort, -1},       {hlp::putCompressedUShort, 32768},
        {hlp::putCompressedShort, -16385},    {hlp::putCompressedShort, 16384},
        {hlp::putCompressedLong, 0x40000000L}, {hlp::putCompressedLong, -0x40000001L},
    };
    for (const auto& [put, value] : cases) {
        Bytes b;
        EXPECT_FALSE(put(b, value)) << value;
        EXPECT_TRUE(b.empty()) << value;
    }
}

TEST(ContextHash, MatchesTestVectors) {
    const std::pair<const char*, std::uint32_t> cases[] = {
        {"contents", 0x25F4558A}, {"rules", 0x071B5CA7},     {"highscores", 0x818C70BB},
        {"options", 0xC01D666A},  {"IDH_RULES", 0xD479C733}, {"CONTENTS", 0x25F4558A},
        {"a", 17},                {"0", 10},                 {"9", 9},
        {".", 12},                {"_", 13},                 {"z1", 42 * 43 + 1},
    };
    for (const auto& [id, hash] : cases) EXPECT_EQ(hlp::contextHash(id), hash) << id;
}

TEST(ContextHash, AcceptsOnlyNonEmptyIdsOfTheHashedCharacters) {
    for (const char* ok : {"a", "IDH_RULES", "v1.2", "_"}) EXPECT_TRUE(hlp::isValidContextId(ok)) << ok;
    for (const char* bad : {"", "a b", "a-b", "ä", "a|b", "{x}"}) EXPECT_FALSE(hlp::isValidContextId(bad)) << bad;
}

TEST(TopicPos, CountsBlocksInStepsOf0x4000) {
    const std::pair<std::uint32_t, std::uint32_t> cases[] = {
        {0, 0x0C}, {4083, 0xFFF}, {4084, 0x400C}, {8167, 0x4FFF}, {8168, 0x800C}, {8200, 0x802C},
    };
    for (const auto& [stream, pos] : cases) EXPECT_EQ(hlp::topicPos(stream), pos) << stream;
}

TEST(Btree, DirectoryIsOnePageSortedByName) {
    Bytes tree;
    ASSERT_TRUE(hlp::buildDirectoryTree({{"|TOPIC", 4}, {"|CONTEXT", 1}, {"|SYSTEM", 3}, {"|FONT", 2}}, tree));
    ASSERT_EQ(tree.size(), 38u + 1024u);
    EXPECT_EQ(u16At(tree, 0), 0x293Bu);
    EXPECT_EQ(u16At(tree, 2), 0x0402u);
    EXPECT_EQ(u16At(tree, 4), 1024u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&tree[6])), "z4");
    EXPECT_EQ(u16At(tree, 26), 0u);       // root page
    EXPECT_EQ(u16At(tree, 28), 0xFFFFu);
    EXPECT_EQ(u16At(tree, 32), 1u);       // levels
    EXPECT_EQ(u32At(tree, 34), 4u);
    const std::size_t used = (9 + 4) + (6 + 4) + (8 + 4) + (7 + 4);
    EXPECT_EQ(u16At(tree, 38), 1024 - 8 - used);
    EXPECT_EQ(u16At(tree, 40), 4u);
    EXPECT_EQ(u32At(tree, 42), 0xFFFFFFFFu);

    std::size_t at = 46;
    for (const auto& [name, offset] : std::vector<std::pair<std::string, std::uint32_t>>{
             {"|CONTEXT", 1}, {"|FONT", 2}, {"|SYSTEM", 3}, {"|TOPIC", 4}}) {
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(&tree[at])), name);
        at += name.size() + 1;
        EXPECT_EQ(u32At(tree, at), offset) << name;
        at += 4;
    }
}

TEST(Btree, ContextIsSortedByHashAsSignedNumber) {
    const std::uint32_t contents = 0x25F4558A, rules = 0x071B5CA7, high = 0x818C70BB, options = 0xC01D666A;
    Bytes tree;
    ASSERT_TRUE(hlp::buildContextTree({{contents, 0}, {rules, 0x83}, {high, 0x145}, {options, 0x8000}}, tree));
    ASSERT_EQ(tree.size(), 38u + 2048u);
    EXPECT_EQ(u16At(tree, 2), 0x0002u);
    EXPECT_EQ(u16At(tree, 4), 2048u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&tree[6])), "L4");
    EXPECT_EQ(u16At(tree, 38), 2048u - 8 - 4 * 8);
    const std::pair<std::uint32_t, std::uint32_t> order[] = {
        {high, 0x145}, {options, 0x8000}, {rules, 0x83}, {contents, 0}};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(u32At(tree, 46 + 8 * i), order[i].first) << i;
        EXPECT_EQ(u32At(tree, 50 + 8 * i), order[i].second) << i;
    }
}

TEST(Btree, RefusesEntriesBeyondOnePage) {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> entries;
    for (std::uint32_t i = 0; i < hlp::kMaxContextEntries; ++i) entries.emplace_back(i, i);
    Bytes tree;
    EXPECT_TRUE(hlp::buildContextTree(entries, tree));
    EXPECT_EQ(u16At(tree, 38), 0u);
    entries.emplace_back(999, 0);
    EXPECT_FALSE(hlp::buildContextTree(entries, tree));
}

TEST(SystemFile, HoldsTitleContentsAndMainWindow) {
    Bytes sys;
    ASSERT_TRUE(hlp::buildSystemFile("Game Help", 0x145, sys));
    EXPECT_EQ(u16At(sys, 0), 0x036Cu);
    EXPECT_EQ(u16At(sys, 2), 21u);
    EXPECT_EQ(u16At(sys, 4), 1u);
    EXPECT_EQ(u16At(sys, 10), 0u);
    // TITLE with its NUL, CONTENTS of exactly 4 bytes, WINDOW of exactly 90.
    EXPECT_EQ(u16At(sys, 12), 1u);
    EXPECT_EQ(u16At(sys, 14), 10u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&sys[16])), "Game Help");
    EXPECT_EQ(u16At(sys, 26), 3u);
    EXPECT_EQ(u16At(sys, 28), 4u);
    EXPECT_EQ(u32At(sys, 30), 0x145u);
    EXPECT_EQ(u16At(sys, 34), 6u);
    EXPECT_EQ(u16At(sys, 36), 90u);
    const std::size_t w = 38;
    EXPECT_EQ(u16At(sys, w), 0x0006u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&sys[w + 12])), "main");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&sys[w + 21])), "Game Help");
    EXPECT_EQ(sys.size(), w + 90);
}

TEST(SystemFile, RefusesTitlesTheCaptionCannotHold) {
    Bytes sys;
    ASSERT_TRUE(hlp::buildSystemFile(std::string(50, 'x'), 0, sys));
    const std::size_t caption = sys.size() - 90 + 21;  // the window record comes last
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&sys[caption])), std::string(50, 'x'));
    EXPECT_FALSE(hlp::buildSystemFile(std::string(51, 'x'), 0, sys));
    EXPECT_FALSE(hlp::buildSystemFile("", 0, sys));
}

TEST(FontFile, UsesTheOldElevenByteLayout) {
    Bytes font;
    ASSERT_TRUE(hlp::buildFontFile({"Arial", "Courier New"},
                                   {{hlp::kBold, 28, hlp::kSwiss, 1, {1, 2, 3}}, {0, 20, hlp::kModern, 0, {0, 0, 0}}},
                                   font));
    EXPECT_EQ(u16At(font, 0), 2u);
    EXPECT_EQ(u16At(font, 2), 2u);
    EXPECT_EQ(u16At(font, 4), 8u);
    EXPECT_EQ(u16At(font, 6), 48u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&font[28])), "Courier New");
    ASSERT_EQ(font.size(), 48u + 2 * 11);
    const Bytes first(font.begin() + 48, font.begin() + 59);
    EXPECT_EQ(first, (Bytes{0x01, 28, 3, 1, 0, 1, 2, 3, 0xFF, 0xFF, 0xFF}));
}

TEST(FontFile, RefusesMissingFaces) {
    Bytes font;
    EXPECT_FALSE(hlp::buildFontFile({}, {}, font));
    EXPECT_FALSE(hlp::buildFontFile({"Arial"}, {{0, 20, hlp::kSwiss, 1, {0, 0, 0}}}, font));
}

// NUL-terminated strings, one after the other, as in LinkData2.
Bytes strings(std::initializer_list<std::string> list) {
    Bytes b;
    for (const std::string& s : list) {
        b.insert(b.end(), s.begin(), s.end());
        b.push_back(0);
    }
    return b;
}

struct RecordCase {
    const char* name;
    void (*fill)(hlp::TextRecord&);
    Bytes linkData1;
    Bytes linkData2;
};

TEST(TextRecord, KeepsOneStringPerCommand) {
    const RecordCase cases[] = {
        {"heading",
         [](hlp::TextRecord& r) {
             r.setSpacingBelow(6);
             r.font(2);
             r.text("Game Help");
             r.endParagraph();
         },
         {0x18, 0x80, 0x18, 0x00, 0x80, 0x00, 0x00, 0x04, 0x00, 0x8C, 0x80, 0x02, 0x00, 0x82, 0xFF},
         strings({"", "Game Help", ""})},
        {"jumps",
         [](hlp::TextRecord& r) {
             r.font(0);
             r.text("See ");
             r.jumpStart(0x818C70BB);
             r.text("Scoring");
             r.jumpEnd();
             r.text(" or the ");
             r.jumpStart(0x25F4558A);
             r.text("contents");
             r.jumpEnd();
             r.text(".");
             r.endParagraph();
         },
         {0x46, 0x80, 0x46, 0x00, 0x80, 0x00, 0x00, 0x00, 0x00, 0x80, 0x00, 0x00, 0xE3, 0xBB, 0x70,
          0x8C, 0x81, 0x89, 0xE3, 0x8A, 0x55, 0xF4, 0x25, 0x89, 0x82, 0xFF},
         strings({"", "See ", "Scoring", " or the ", "contents", ".", ""})},
        {"breaks and indents",
         [](hlp::TextRecord& r) {
             r.setSpacingAbove(12);
             r.setLeftIndent(24);
             r.setFirstLineIndent(-16);
             r.text("a");
             r.lineBreak();
             r.text("b");
             r.tab();
             r.text("c");
         },
         {0x0C, 0x80, 0x0C, 0x00, 0x80, 0x00, 0x00, 0x52, 0x00, 0x98, 0xB0, 0x60, 0x81, 0x83, 0xFF},
         strings({"a", "b", "c"})},
    };
    for (const auto& c : cases) {
        hlp::TextRecord r;
        c.fill(r);
        Bytes ld1, ld2;
        ASSERT_TRUE(r.finish(ld1, ld2)) << c.name;
        EXPECT_EQ(ld1, c.linkData1) << c.name;
        EXPECT_EQ(ld2, c.linkData2) << c.name;
    }
}

TEST(TextRecord, TopicLengthGrowsToTwoBytesAndStopsAt32767) {
    const std::pair<std::size_t, Bytes> cases[] = {
        {126, {0xFE, 0x80, 0xFE}},          // 127 characters with the closing NUL
        {127, {0x00, 0x81, 0x01, 0x01}},    // 128
        {16383, {0x01, 0x80, 0x00, 0x80, 0x01, 0x80}},  // 16384
    };
    for (const auto& [n, prefix] : cases) {
        hlp::TextRecord r;
        r.text(std::string(n, 'x'));
        Bytes ld1, ld2;
        ASSERT_TRUE(r.finish(ld1, ld2)) << n;
        EXPECT_EQ(ld2.size(), n + 1);
        EXPECT_EQ(Bytes(ld1.begin(), ld1.begin() + static_cast<long>(prefix.size())), prefix) << n;
    }
    hlp::TextRecord longest, tooLong;
    longest.text(std::string(32766, 'x'));
    tooLong.text(std::string(32767, 'x'));
    Bytes ld1, ld2;
    EXPECT_TRUE(longest.finish(ld1, ld2));
    EXPECT_FALSE(tooLong.finish(ld1, ld2));
}

}  // namespace
