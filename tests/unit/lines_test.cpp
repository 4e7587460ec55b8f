#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>
#include "data/lines.h"
#include "temp_files.h"

using Lines = std::vector<std::pair<std::string, int>>;

static Lines ReadAll(const std::string& content) {
    TempDir dir;
    dir.write("f.txt", content);
    int16_t status;
    FileHandle f = OpenForReading(dir.file("f.txt").c_str(), status);
    EXPECT_NE(f, nullptr);
    static LineReader in;
    StartLines(in, f);
    Lines out;
    Text<255> line;
    for (int guard = 0; guard < 100000; guard++) {
        int16_t st = ReadLine(in, line);
        out.push_back({line.str(), st});
        if (st == kStatusEnd) break;
    }
    CloseFile(f);
    return out;
}

TEST(LineReader, LineEndsAndLastLine) {
    const std::string a254(254, 'a');
    const std::string b300(300, 'b');
    struct Case {
        const char* what;
        std::string content;
        Lines expected;
    };
    const Case cases[] = {
        {"empty file", "", {{"", 38}}},
        {"LF", "one\ntwo\n", {{"one", 0}, {"two", 0}, {"", 38}}},
        {"CR", "one\rtwo\r", {{"one", 0}, {"two", 0}, {"", 38}}},
        {"CR LF", "one\r\ntwo\r\n", {{"one", 0}, {"two", 0}, {"", 38}}},
        {"mixed", "a\rb\nc\r\nd", {{"a", 0}, {"b", 0}, {"c", 0}, {"d", 38}}},
        {"LF CR is two ends", "a\n\rb", {{"a", 0}, {"", 0}, {"b", 38}}},
        {"CR CR", "a\r\rb", {{"a", 0}, {"", 0}, {"b", 38}}},
        {"last line without end", "x=1", {{"x=1", 38}}},
        {"blank lines", "\n\n", {{"", 0}, {"", 0}, {"", 38}}},
        {"300 characters split", b300 + "\n",
         {{std::string(254, 'b'), -32768}, {std::string(46, 'b'), 0}, {"", 38}}},
        {"254 characters then its end", a254 + "\nz", {{a254, 0}, {"z", 38}}},
        {"254 characters at the end", a254, {{a254, 38}}},
    };
    for (const Case& c : cases) EXPECT_EQ(ReadAll(c.content), c.expected) << c.what;
}

TEST(LineReader, CrLfAcrossBlockBoundary) {
    // Put the CR last in the reader's first block.
    std::string content(kBlockBytes - 1, 'x');
    content += "\r\nnext";
    Lines got = ReadAll(content);
    ASSERT_GE(got.size(), 2u);
    EXPECT_EQ(got.back(), (std::pair<std::string, int>{"next", 38}));
    EXPECT_EQ(got.size(), std::size_t(kBlockBytes - 1) / 254 + 2);
}

// Lines of every length up to 130, one after another, so that their ends fall on every
// place of the reader's chunks: the last byte of one, the first of the next, a CR LF between.
TEST(LineReader, SameLinesWhereverTheirEndsFall) {
    for (const char* end : {"\n", "\r", "\r\n"}) {
        std::string content;
        Lines expected;
        for (int k = 0; content.size() < 40000; k++) {
            const std::string text(std::size_t(k * 37 % 131), char('a' + k % 26));
            content += text + end;
            expected.push_back({text, 0});
        }
        expected.push_back({"", 38});
        EXPECT_EQ(ReadAll(content), expected) << "line end " << int(end[0]) << int(end[1]);
    }
}

// The file line each piece came from: a cut line's pieces share their line.
TEST(LineReader, CountsTheFileLineOfEachPiece) {
    struct Case {
        const char* what;
        std::string content;
        std::vector<long> expected;
    };
    const Case cases[] = {
        {"LF, CR and CR LF", "a\nb\rc\r\nd", {1, 2, 3, 4}},
        {"blank lines", "\n\nx", {1, 2, 3}},
        {"ends with its line end", "a\n", {1, 2}},
        {"cut line", std::string(300, 'b') + "\nz", {1, 1, 2}},
        {"cut twice", std::string(600, 'b'), {1, 1, 1}},
    };
    for (const Case& c : cases) {
        TempDir dir;
        dir.write("f.txt", c.content);
        int16_t status;
        FileHandle f = OpenForReading(dir.file("f.txt").c_str(), status);
        ASSERT_NE(f, nullptr);
        static LineReader in;
        StartLines(in, f);
        std::vector<long> got;
        Text<255> line;
        do {
            status = ReadLine(in, line);
            got.push_back(in.line);
        } while (status != kStatusEnd && got.size() < 100);
        CloseFile(f);
        EXPECT_EQ(got, c.expected) << c.what;
    }
}
