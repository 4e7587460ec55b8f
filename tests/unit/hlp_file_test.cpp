// Topic layout and the whole file, read back the way the viewer reads them.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "container.h"
#include "context_hash.h"
#include "help_file.h"
#include "help_source.h"
#include "topic_file.h"

using hlp::Bytes;

namespace {

std::uint32_t u16At(const Bytes& b, std::size_t at) { return b[at] | b[at + 1] << 8; }
std::uint32_t u32At(const Bytes& b, std::size_t at) { return u16At(b, at) | u16At(b, at + 2) << 16; }

struct Walk {
    std::vector<std::uint32_t> offsets;  // TOPICOFFSET of each topic header
    std::vector<std::string> titles;
    std::vector<std::uint32_t> positions;  // TOPICPOS of each topic header
};

// Follows NextBlock from TOPICPOS 12 and recounts the TOPICOFFSETs from the
// TopicLength fields, as the viewer does on loading.
Walk walk(const Bytes& topic) {
    Bytes data;
    for (std::size_t b = 0; b + 4096 <= topic.size(); b += 4096)
        data.insert(data.end(), topic.begin() + static_cast<long>(b + 12), topic.begin() + static_cast<long>(b + 4096));
    Walk w;
    std::uint32_t block = 0, chars = 0, prev = 0xFFFFFFFF;
    for (std::uint32_t pos = 12; pos != 0xFFFFFFFF;) {
        const std::size_t s = (pos >> 14) * 4084 + (pos & 0x3FFF) - 12;
        EXPECT_LT(s + 21, data.size());
        if (s + 21 >= data.size()) break;
        const std::uint32_t blockSize = u32At(data, s), dataLen2 = u32At(data, s + 4);
        const std::uint32_t dataLen1 = u32At(data, s + 16);
        EXPECT_EQ(blockSize, dataLen1 + dataLen2);
        EXPECT_EQ(u32At(data, s + 8), prev);
        if (pos >> 14 != block) {
            block = pos >> 14;
            chars = 0;
        }
        if (data[s + 20] == hlp::kTopicHeaderType) {
            w.offsets.push_back(block * 0x8000 + chars);
            w.positions.push_back(pos);
            w.titles.emplace_back(data.begin() + static_cast<long>(s + dataLen1),
                                  data.begin() + static_cast<long>(s + blockSize));
        } else {
            std::size_t at = s + 21 + ((data[s + 21] & 1) ? 4 : 2);  // skip TopicSize
            chars += (data[at] & 1) ? u16At(data, at) / 2 : data[at] / 2u;
        }
        prev = pos;
        pos = u32At(data, s + 12);
    }
    return w;
}

hlp::TextRecord plain(std::size_t n) {
    hlp::TextRecord r;
    r.text(std::string(n, 'x'));
    return r;
}

// Topic "A" with one record of n characters, then "B" and "C" with one
// character each. A's header takes 50 bytes and its record 33 + n, so n =
// 4001 puts B's header exactly at the start of block 1.
TEST(TopicFile, CountsTopicOffsetsPerBlock) {
    struct Case {
        std::size_t n;
        std::uint32_t offsetB, offsetC;
    };
    const Case cases[] = {
        {10, 11, 13},                  // all in block 0
        {4000, 4001, 0x8000 + 2},      // B's header still starts in block 0, its text in block 1
        {4001, 0x8000, 0x8000 + 2},    // B's header opens block 1
        {4002, 0x8000, 0x8000 + 2},    // A's record starts in block 0, so it does not count
    };
    for (const auto& [n, offsetB, offsetC] : cases) {
        hlp::TopicFileBuilder t;
        t.beginTopic("A");
        ASSERT_TRUE(t.addText(plain(n)));
        t.beginTopic("B");
        ASSERT_TRUE(t.addText(plain(1)));
        t.beginTopic("C");
        ASSERT_TRUE(t.addText(plain(1)));
        Bytes out;
        std::vector<std::uint32_t> offsets;
        std::string error;
        ASSERT_TRUE(t.build(out, offsets, error)) << error;
        EXPECT_EQ(out.size() % 4096, 0u);
        EXPECT_EQ(offsets, (std::vector<std::uint32_t>{0, offsetB, offsetC})) << n;

        const Walk w = walk(out);
        EXPECT_EQ(w.titles, (std::vector<std::string>{"A", "B", "C", ""})) << n;
        EXPECT_EQ(std::vector<std::uint32_t>(w.offsets.begin(), w.offsets.begin() + 3), offsets) << n;
    }
}

TEST(TopicFile, WritesBlockHeadersAndTheClosingTopicHeader) {
    hlp::TopicFileBuilder t;
    t.beginTopic("A");
    ASSERT_TRUE(t.addText(plain(4001)));
    t.beginTopic("B");
    ASSERT_TRUE(t.addText(plain(1)));
    Bytes out;
    std::vector<std::uint32_t> offsets;
    std::string error;
    ASSERT_TRUE(t.build(out, offsets, error)) << error;
    ASSERT_EQ(out.size(), 2u * 4096);
    // Block 0: nothing earlier; its first record is A's header.
    EXPECT_EQ(u32At(out, 0), 0xFFFFFFFFu);
    EXPECT_EQ(u32At(out, 4), 0x0Cu);
    EXPECT_EQ(u32At(out, 8), 0xFFFFFFFFu);
    // Block 1: A's text record (at 50 + 12) was the last link before it.
    EXPECT_EQ(u32At(out, 4096), 62u);
    EXPECT_EQ(u32At(out, 4100), 0x400Cu);
    EXPECT_EQ(u32At(out, 4104), 0x0Cu);

    // A's header: its BlockSize spans its records, Scroll and NextTopic point on.
    EXPECT_EQ(u32At(out, 12 + 21), 4084u);
    EXPECT_EQ(u32At(out, 12 + 21 + 12), 0u);
    EXPECT_EQ(u32At(out, 12 + 21 + 20), 62u);
    EXPECT_EQ(u32At(out, 12 + 21 + 24), 0x400Cu);

    const Walk w = walk(out);
    ASSERT_EQ(w.positions.size(), 3u);
    const std::size_t end = 4096 + (w.positions[2] & 0x3FFF);
    EXPECT_EQ(u32At(out, end), 49u);               // BlockSize
    EXPECT_EQ(u32At(out, end + 12), 0xFFFFFFFFu);  // NextBlock
    EXPECT_EQ(u32At(out, end + 21), 49u);          // header's BlockSize
    EXPECT_EQ(u32At(out, end + 21 + 12), 2u);      // TopicNum
    for (std::size_t at : {4u, 8u, 16u, 20u, 24u}) EXPECT_EQ(u32At(out, end + 21 + at), 0xFFFFFFFFu) << at;
}

TEST(TopicFile, RefusesTopicsWithoutText) {
    hlp::TopicFileBuilder t;
    EXPECT_FALSE(t.addText(plain(1)));  // before any topic
    t.beginTopic("A");
    t.beginTopic("B");
    ASSERT_TRUE(t.addText(plain(1)));
    Bytes out;
    std::vector<std::uint32_t> offsets;
    std::string error;
    EXPECT_FALSE(t.build(out, offsets, error));
    EXPECT_FALSE(error.empty());
}

const char* const kSource =
    "@title Game Help\n"
    "@topic contents Contents\n"
    "- {Rules|rules}\n"
    "- {Scores|highscores}\n"
    "@topic rules Rules\n"
    "Play *well*.\n"
    "@topic highscores Scores\n"
    "| 1 Ann 900\n"
    "{Back|contents}\n";

std::map<std::string, std::pair<std::uint32_t, std::uint32_t>> directoryOf(const Bytes& file) {
    std::map<std::string, std::pair<std::uint32_t, std::uint32_t>> files;  // name -> offset, reserved
    const std::uint32_t dir = u32At(file, 4);
    const std::size_t page = dir + 9 + 38;
    std::size_t at = page + 8;
    for (std::uint32_t i = 0; i < u16At(file, page + 2); ++i) {
        const std::string name(reinterpret_cast<const char*>(&file[at]));
        at += name.size() + 1;
        const std::uint32_t offset = u32At(file, at);
        at += 4;
        files[name] = {offset, u32At(file, offset)};
    }
    return files;
}

TEST(HelpFile, ContainerSizesAddUp) {
    hlp::HelpSource source;
    hlp::ParseError parseError;
    ASSERT_TRUE(hlp::parseHelpSource(kSource, source, parseError)) << parseError.message;
    Bytes file;
    std::string error;
    ASSERT_TRUE(hlp::buildHelpFile(source, file, error)) << error;

    EXPECT_EQ(u32At(file, 0), 0x00035F3Fu);
    EXPECT_EQ(u32At(file, 8), 0xFFFFFFFFu);
    EXPECT_EQ(u32At(file, 12), file.size());
    const std::uint32_t dir = u32At(file, 4);
    EXPECT_EQ(u32At(file, dir), u32At(file, dir + 4) + 9);
    EXPECT_EQ(dir + u32At(file, dir), file.size());  // the directory comes last

    const auto files = directoryOf(file);
    std::uint32_t next = 16;  // files follow one another in name order
    for (const char* name : {"|CONTEXT", "|FONT", "|SYSTEM", "|TOPIC"}) {
        ASSERT_EQ(files.count(name), 1u) << name;
        const auto [offset, reserved] = files.at(name);
        EXPECT_EQ(offset, next) << name;
        EXPECT_EQ(reserved, u32At(file, offset + 4) + 9) << name;
        next = offset + reserved;
    }
    EXPECT_EQ(next, dir);
}

TEST(HelpFile, ContextTableMatchesTheTopicsTheViewerFinds) {
    hlp::HelpSource source;
    hlp::ParseError parseError;
    ASSERT_TRUE(hlp::parseHelpSource(kSource, source, parseError)) << parseError.message;
    Bytes file;
    std::string error;
    ASSERT_TRUE(hlp::buildHelpFile(source, file, error)) << error;
    const auto files = directoryOf(file);

    const std::uint32_t topicAt = files.at("|TOPIC").first + 9;
    const Walk w = walk(Bytes(file.begin() + topicAt, file.begin() + topicAt + u32At(file, topicAt - 5)));
    EXPECT_EQ(w.titles, (std::vector<std::string>{"Contents", "Rules", "Scores", ""}));

    const std::uint32_t page = files.at("|CONTEXT").first + 9 + 38;
    ASSERT_EQ(u16At(file, page + 2), 3u);
    std::map<std::uint32_t, std::uint32_t> context;
    std::int32_t last = INT32_MIN;
    for (std::uint32_t i = 0; i < 3; ++i) {
        const std::uint32_t hash = u32At(file, page + 8 + 8 * i);
        EXPECT_GT(static_cast<std::int32_t>(hash), last);
        last = static_cast<std::int32_t>(hash);
        context[hash] = u32At(file, page + 12 + 8 * i);
    }
    EXPECT_EQ(context[hlp::contextHash("contents")], w.offsets[0]);
    EXPECT_EQ(context[hlp::contextHash("rules")], w.offsets[1]);
    EXPECT_EQ(context[hlp::contextHash("highscores")], w.offsets[2]);
    EXPECT_LT(w.offsets[0], w.offsets[1]);
    EXPECT_LT(w.offsets[1], w.offsets[2]);

    const std::uint32_t sys = files.at("|SYSTEM").first + 9;
    EXPECT_EQ(u16At(file, sys + 26), 3u);  // CONTENTS after the 10-byte title record
    EXPECT_EQ(u32At(file, sys + 30), w.offsets[0]);
}

}  // namespace
