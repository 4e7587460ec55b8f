// The record writer against the game's own lookups: after an edit the record reads as
// written, and every other lookup gives what it gave before.
#include <gtest/gtest.h>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include "data/catalog.h"
#include "data/database.h"
#include "data/number.h"
#include "data/records_write.h"
#include "duel/state.h"
#include "fake_platform.h"
#include "temp_files.h"

namespace {

void (*const kLook[])(int16_t, char*, std::size_t) = {GetMove, GetTrainer, GetName};  // by section
const int16_t kNumbers[] = {-1, 0, 1, 2, 3, 5, 7, 9, 12, 26, 42, 77, 100, 123, 1000};

// Every lookup of the numbers above, and the numbers each section holds records of.
struct Reading {
    std::string value[4][std::size(kNumbers)];
    std::set<int16_t> own[4];
};

Reading Read() {
    Reading r;
    for (int s = 0; s < 4; s++) {
        for (std::size_t i = 0; i < std::size(kNumbers); i++) {
            Text<255> out;
            if (s != kDamage) kLook[s](kNumbers[i], out.c, sizeof out);
            r.value[s][i] = s == kDamage ? std::to_string(GetDamage(kNumbers[i])) : out.str();
        }
    }
    ListRecords([](int section, int16_t n, const char*, bool own, void* context) {
        if (own) static_cast<Reading*>(context)->own[section].insert(n);
    }, &r);
    return r;
}

struct RecordWriter : ::testing::Test {
    TempDir dir;
    void SetUp() override {
        fake::Reset();
        path = dir.prefix().c_str();
    }
    bool Edit(const std::string& old, const RecordEdit& edit, std::string& fresh, Said& said) {
        Buffer<char> out;
        std::size_t size = 0;
        const bool done = EditRecord(old.data(), old.size(), edit, out, size, said);
        fresh.assign(out.data() ? out.data() : "", size);
        return done;
    }
};

TEST_F(RecordWriter, EditsReadBackAndLeaveEveryOtherLookupAlone) {
    std::stringstream bundled;
    bundled << std::ifstream(BUNDLED_DATABASE, std::ios::binary).rdbuf();
    const std::string files[] = {
        bundled.str(),
        "; my own\r\n[Moves]\r\n1=Jab\r\n; the strong ones\r\n7=Kick\r\n\r\n[Trainers]\r\n3=Ann\r\n"
        "[Names]\r\n005 Fluff\r\n  7 Seven\r\n[Damage]\r\n1=10\r\n7=1Eh",
        "7=Early\n[Damage]\n5=40\n[Moves]\r 7 =Seven\r\n7=Again\n[Names]\n005 Five\n005 Later\n25 x\n"
        "[Trainers]\n3=[Names]\n12=" + std::string(300, 'q') + "\n[Moves]\n9=Nine\n[Damage]\n1Ah=26\n1=5",
        "[Moves]\r\n1=Jab",
    };
    ASSERT_FALSE(files[0].empty()) << BUNDLED_DATABASE;
    const std::string longName(100, 'n');
    const RecordEdit edits[] = {
        {kMoves, 7, "Thunder Tuft"}, {kMoves, 77, "Brand New"}, {kMoves, 12, longName.c_str()},
        {kTrainers, 3, "Old Tobrin the Second"}, {kTrainers, 42, "a=b"},
        {kNames, 5, "Zephletwingsextra"}, {kNames, 42, " Spaced"}, {kNames, -1, ""},
        {kDamage, 7, "23H"}, {kDamage, 1000, " 40-"},
        {kMoves, 7, nullptr}, {kNames, 5, nullptr}, {kDamage, 1, nullptr}, {kTrainers, 26, nullptr},
    };
    for (const std::string& file : files)
        for (const RecordEdit& e : edits) {
            SCOPED_TRACE(kSections[e.section].header + std::to_string(e.number) + " in " +
                         file.substr(0, 30));
            dir.write("master.dat", file);
            const Reading before = Read();
            std::string fresh;
            Said said;
            const bool done = Edit(file, e, fresh, said);
            // A remove needs a record there.
            ASSERT_EQ(done, e.text || before.own[e.section].count(e.number)) << said;
            if (!done) continue;
            dir.write("master.dat", fresh);
            const Reading after = Read();
            const std::size_t at = std::find(std::begin(kNumbers), std::end(kNumbers), e.number) - kNumbers;
            if (!e.text)
                EXPECT_FALSE(after.own[e.section].count(e.number));
            else if (e.section == kDamage)
                EXPECT_EQ(after.value[kDamage][at], std::to_string(NumberOf(e.text)));
            else
                EXPECT_EQ(after.value[e.section][at], std::string(e.text).substr(0, NameRoom(e.section)));
            for (int s = 0; s < 4; s++)
                for (std::size_t i = 0; i < std::size(kNumbers); i++) {
                    if (i == at && (s == e.section || !before.own[s].count(kNumbers[i]))) continue;
                    EXPECT_EQ(after.value[s][i], before.value[s][i]) << kSections[s].header << kNumbers[i];
                }
        }
    EXPECT_TRUE(fake::boxes.empty());
}

// Each line but the record's stays as it was, line ends and all; a refusal ("!" and its key
// words) says why in one line and writes nothing.
TEST_F(RecordWriter, KeepsEveryOtherLineOrRefusesInOneLine) {
    const std::string file = "[Moves]\r\n1=Jab\r\n[Names]\r\n001 Fluff\r\n[Damage]\r\n1234=10\r\n"
                             "[Trainers]\r\n3=Ann\r\n[Moves]\r\n9=Nine\r\n";
    const std::string wide = std::string(260, ' ') + "35";
    const struct {
        std::string old;
        RecordEdit edit;
        std::string expected;
    } cases[] = {
        {"[Moves]\r\n1=Jab\r\n\r\n; next\r\n[Names]\r\n", {kMoves, 2, "Kick"},
         "[Moves]\r\n1=Jab\r\n2=Kick\r\n\r\n; next\r\n[Names]\r\n"},
        {"[Moves]\r1=Jab", {kMoves, 2, "Kick"}, "[Moves]\r1=Jab\r2=Kick"},
        {"", {kNames, 7, "Fluff"}, "[Names]\r\n007 Fluff\r\n"},
        {"[Moves]\n1=Jab", {kDamage, -5, "9"}, "[Moves]\n1=Jab\n[Damage]\n-5=9"},
        {"[Names]\n  7xOld \n", {kNames, 7, "New"}, "[Names]\n  7xNew\n"},
        {"[Moves]\n 7 =Old=x\r\n", {kMoves, 7, "New"}, "[Moves]\n 7 =New\r\n"},
        {"[Names]\n[Damage]\n", {kDamage, 1000, "40"}, "[Names]\n[Damage]\n   1000=40\n"},
        {"[Moves]\n7=A\n[Damage]\n7=1\n[Moves]\n7=B\n", {kMoves, 7, nullptr},
         "[Moves]\n[Damage]\n7=1\n[Moves]\n"},
        {file, {kNames, 2, "Two\r\nLines"}, "!line break"},
        {file, {kDamage, 1, "35%"}, "!a damage is a number"},
        {file, {kDamage, 1, wide.c_str()}, "!longer than the 254"},
        {file, {kNames, 1000, "Big"}, "!from -99 to 999"},
        {file, {kMoves, 2, "[Moves]"}, "!reads as the header [Moves]"},
        {file, {kTrainers, 2, "[Damage]"}, "!reads as the header [Damage]"},
        {file, {kDamage, 1234, "12"}, "!reads as creature 123 too"},
        {file, {kDamage, 1234, nullptr}, "!reads as creature 123 too"},
        {file, {kTrainers, 9, "Bo"}, "!reads as move 9 too, before its own record"},
        {file, {kMoves, 77, nullptr}, "!there is no move 77 to remove"},
    };
    for (const auto& c : cases) {
        std::string fresh;
        Said said;
        const bool refused = c.expected[0] == '!';
        EXPECT_EQ(Edit(c.old, c.edit, fresh, said), !refused) << said;
        if (!refused) {
            EXPECT_EQ(fresh, c.expected);
            continue;
        }
        EXPECT_NE(std::string(said).find(c.expected.substr(1)), std::string::npos) << said;
        EXPECT_EQ(std::string(said).find_first_of("\r\n"), std::string::npos) << said;
    }
}

}  // namespace
