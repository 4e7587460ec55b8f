#include <gtest/gtest.h>
#include <string>
#include "data/catalog.h"
#include "data/database.h"
#include "data/picture_name.h"
#include "duel/state.h"
#include "fake_platform.h"
#include "temp_files.h"

namespace {

enum Kind { Move, Trainer, Name, Damage };

std::string Look(Kind kind, int16_t n) {
    Text<255> out;
    switch (kind) {
        case Move: GetMove(n, out); break;
        case Trainer: GetTrainer(n, out); break;
        case Name: GetName(n, out); break;
        case Damage: return std::to_string(GetDamage(n));
    }
    return out.str();
}

struct Database : ::testing::Test {
    TempDir dir;
    void SetUp() override {
        fake::Reset();
        path = dir.prefix().c_str();
    }
    void Write(const std::string& content) { dir.write("master.dat", content); }
};

const std::string kExample =
    "[Moves]\r\n12=Move Twelve\r\n[Trainers]\r\n3=Trainer Three\r\n"
    "[Names]\r\n025 Beast 25\r\n[Damage]\r\n12=35\r\n";

TEST_F(Database, FindsRecordsByLayoutAndSection) {
    const std::string long300 = std::string(254, 'q') + "9=Tail";
    struct Case {
        const char* what;
        std::string file;
        Kind kind;
        int16_t n;
        const char* expected;
    };
    const Case cases[] = {
        {"example move", kExample, Move, 12, "Move Twelve"},
        {"example trainer", kExample, Trainer, 3, "Trainer Three"},
        {"example creature", kExample, Name, 25, "Beast 25"},
        {"example damage", kExample, Damage, 12, "35"},
        {"value keeps later =", "[Moves]\n7=Name=Two\n", Move, 7, "Name=Two"},
        {"value keeps its blank", "[Moves]\n7= Name\n", Move, 7, " Name"},
        {"key with blanks", "[Moves]\n 7 =Name\n", Move, 7, "Name"},
        {"key with zeros", "[Moves]\n007=Name\n", Move, 7, "Name"},
        {"hex key", "[Moves]\n1Ah=Hex\n", Move, 26, "Hex"},
        {"first match wins", "[Moves]\n3=First\n3=Second\n", Move, 3, "First"},
        {"line before header", "3=Early\n[Moves]\n4=Other\n", Move, 3, "Not found."},
        {"record in earlier section", "[Damage]\n3=9\n[Moves]\n", Move, 3, "Not found."},
        {"later section searched", "[Moves]\n1=A\n[Damage]\n9=40\n", Move, 9, "40"},
        {"lower-case header", "[moves]\n7=Name\n", Move, 7, "Not found."},
        {"blank before header", " [Moves]\n7=Name\n", Move, 7, "Not found."},
        {"blank after header", "[Moves] \n7=Name\n", Move, 7, "Not found."},
        {"value equal to header", "x=[Moves]\n7=Name\n", Move, 7, "Name"},
        {"second header harmless", "[Moves]\n[Moves]\n7=Name\n", Move, 7, "Name"},
        {"last line without end", "[Moves]\n7=Last", Move, 7, "Last"},
        {"mixed line ends", "[Moves]\r1=A\n2=B\r\n3=C", Move, 2, "B"},
        {"lone sign is 0", "[Moves]\n-=Zero\n", Move, 0, "Zero"},
        {"not a number never matches", "[Moves]\nseven=No\n", Move, 0, "Not found."},
        {"miss does not leak last line", "[Moves]\n1=A\n2=Last", Move, 5, "Not found."},
        {"split line's tail matches", "[Moves]\n" + long300 + "\n", Move, 9, "Tail"},
        {"columns three wide", "[Names]\n  7 Seven\n", Name, 7, "Seven"},
        {"columns left aligned", "[Names]\n7   Seven\n", Name, 7, "Seven"},
        {"columns short key", "[Names]\n25 Name\n", Name, 25, "ame"},
        {"columns any separator", "[Names]\n025xName\n", Name, 25, "Name"},
        {"columns four characters", "[Names]\n025x\n", Name, 25, ""},
        {"columns header is whole line", "[Names] \n025 Name\n", Name, 25, "Not found."},
        {"empty line never a record", "[Names]\n\n   \n000 Zero\n", Name, 0, "Zero"},
        {"damage with blanks", "[Damage]\n12= 35 \n", Damage, 12, "35"},
        {"damage hex", "[Damage]\n12=23H\n", Damage, 12, "35"},
        {"damage sign last", "[Damage]\n12=35-\n", Damage, 12, "-35"},
        {"damage before header unused", "[Moves]\n12=50\n[Damage]\n", Damage, 12, "0"},
        {"damage not a number", "[Damage]\n12=35%\n", Damage, 12, "0"},
        {"damage empty", "[Damage]\n12=\n", Damage, 12, "0"},
        {"damage missing", "[Damage]\n1=5\n", Damage, 12, "0"},
    };
    for (const Case& c : cases) {
        Write(c.file);
        EXPECT_EQ(Look(c.kind, c.n), c.expected) << c.what;
    }
    EXPECT_TRUE(fake::boxes.empty());
    EXPECT_FALSE(ending);
}

// Asked together, names come from one pass, yet each is what its own lookup gives: every
// file of the table above, with the same eight questions.
TEST_F(Database, NamesAskedTogetherAreWhatEachLookupGives) {
    const std::string files[] = {
        kExample,
        "[Moves]\n3=First\n3=Second\n[Names]\n003 Three\n",
        "3=Early\n[Moves]\n4=Other\n7=Seven",
        "[Names]\n007 Seven\n[Moves]\n007 Seven\n7=Kick\n[Names]\n012 Later\n",
        "[Trainers]\n3=[Moves]\n12=Kick\n[Names]\n025 Beast\n",  // a record that is a header
        "[Moves]\r1=A\n2=B\r\n3=C\n" + std::string(254, 'q') + "7=Tail\n[Trainers]\n3=Bo",
        "[Names]\n\n   \n000 Zero\n[Trainers]\n0=Nobody\n12=Twelve\n",
        "",
    };
    const struct { Kind kind; int16_t n; } asked[] = {
        {Move, 12}, {Trainer, 3}, {Name, 25}, {Move, 3}, {Move, 7}, {Name, 7}, {Name, 0}, {Move, 12},
    };
    const int kSectionOf[] = {kMoves, kTrainers, kNames};
    for (const std::string& file : files) {
        Write(file);
        Text<64> got[8];
        NameLookup names[8];
        for (int i = 0; i < 8; i++)
            names[i] = {kSectionOf[asked[i].kind], asked[i].n, got[i].c, sizeof got[i]};
        GetNames(names, 8);
        for (int i = 0; i < 8; i++)
            EXPECT_EQ(std::string(got[i]), Look(asked[i].kind, asked[i].n)) << file << " #" << i;
    }
    EXPECT_TRUE(fake::boxes.empty());

    Text<11> creature;
    Write("[Names]\n001 Abcdefghijklm\n");
    const NameLookup cut[] = {{kNames, 1, creature.c, sizeof creature}};
    GetNames(cut, 1);
    EXPECT_STREQ(creature, "Abcdefghij");

    std::filesystem::remove(dir.dir / "master.dat");
    Text<64> a, b;
    const NameLookup missing[] = {{kMoves, 1, a.c, sizeof a}, {kNames, 2, b.c, sizeof b}};
    GetNames(missing, 2);
    EXPECT_STREQ(a, "Not found.");
    EXPECT_STREQ(b, "Not found.");
    ASSERT_EQ(fake::boxes.size(), 1u);
    EXPECT_EQ(fake::boxes[0], "Can't find master.dat file!");
}

TEST_F(Database, NamesAreCutAtTheCallersCapacity) {
    Write("[Names]\n001 Abcdefghijklm\n[Moves]\n1=" + std::string(70, 'm') + "\n");
    Text<11> creature;
    GetName(1, creature);
    EXPECT_STREQ(creature, "Abcdefghij");
    Text<64> move;
    GetMove(1, move);
    EXPECT_EQ(std::string(move), std::string(63, 'm'));
}

TEST_F(Database, SeesEditsAtTheNextLookup) {
    Write("[Damage]\n1=10\n");
    EXPECT_EQ(GetDamage(1), 10);
    Write("[Damage]\n1=20\n");
    EXPECT_EQ(GetDamage(1), 20);
}

TEST_F(Database, MissingFileIsReportedOnceAndEndsTheProgram) {
    Text<255> out;
    GetMove(1, out);
    EXPECT_EQ(GetDamage(1), 0);
    GetName(2, out);
    ASSERT_EQ(fake::boxes.size(), 1u);
    EXPECT_EQ(fake::boxes[0], "Can't find master.dat file!");
    EXPECT_EQ(fake::windowCloses, 1);
    EXPECT_TRUE(ending);
    Write(kExample);  // too late: the program is ending
    EXPECT_EQ(GetDamage(12), 0);
    EXPECT_EQ(fake::boxes.size(), 1u);
}

TEST_F(Database, FolderInsteadOfFileIsMissing) {
    std::filesystem::create_directory(dir.dir / "master.dat");
    Text<255> out;
    GetTrainer(1, out);
    ASSERT_EQ(fake::boxes.size(), 1u);
}

TEST_F(Database, PathIsAPlainPrefix) {
    dir.write("gamemaster.dat", "[Moves]\n1=Prefixed\n");
    path = (dir.prefix() + "game").c_str();
    Text<255> out;
    GetMove(1, out);
    EXPECT_STREQ(out, "Prefixed");
}

TEST(PictureNames, DecimalWithoutLeadingZeros) {
    struct Case {
        const char* path;
        const char* prefix;
        int16_t number;
        const char* expected;
    };
    const Case cases[] = {
        {"", "", 7, "7.bmp"},
        {"C:\\game\\", "", 7, "C:\\game\\7.bmp"},
        {"", "", 0, "0.bmp"},
        {"", "", -3, "-3.bmp"},
        {"", "", 25, "25.bmp"},
        {"", "back", 3, "back3.bmp"},
        {"", "t", 12, "t12.bmp"},
        {"", "", -32768, "-32768.bmp"},
    };
    for (const Case& c : cases) {
        fake::Reset();
        path = c.path;
        Text<255> name;
        PictureName(name, c.prefix, c.number);
        EXPECT_STREQ(name, c.expected);
    }
    path = std::string(250, 'p').c_str();
    Text<255> name;
    PictureName(name, "back", 1);
    EXPECT_EQ(name.length(), 254u);
}

}  // namespace

// Listing a section gives exactly the records its lookups find, in file order.
TEST_F(Database, ListsWhatTheLookupsFind) {
    struct Case {
        const char* what;
        std::string file;
        const char* header;
        Layout layout;
        std::string expected;
    };
    const Case cases[] = {
        {"moves", kExample, "[Moves]", Layout::KeyValue, "12=Move Twelve;"},
        {"creatures", kExample, "[Names]", Layout::Columns, "25=Beast 25;"},
        {"first of two wins", "[Moves]\n3=A\n3=B\n4=C\n", "[Moves]", Layout::KeyValue, "3=A;4=C;"},
        {"ends at the next header", "[Moves]\n1=A\n[Damage]\n2=9\n", "[Moves]", Layout::KeyValue,
         "1=A;"},
        {"shadowed by a line of another section",
         "[Moves]\n1=A\n[Trainers]\n5=Bo\n[Moves]\n5=Kick\n6=Bite\n", "[Moves]", Layout::KeyValue,
         "1=A;6=Bite;"},
        {"another section's header is a record too", "[Moves]\n7=[Trainers]\n[Moves]\n7=Kick\n",
         "[Moves]", Layout::KeyValue, ""},
        {"no header, nothing", "1=A\n", "[Moves]", Layout::KeyValue, ""},
        {"not numbers are no records", "[Moves]\nx=A\n\n7=B\n", "[Moves]", Layout::KeyValue, "7=B;"},
    };
    for (const Case& c : cases) {
        Write(c.file);
        std::string got;
        ASSERT_TRUE(ListRecords(c.header, c.layout, [](int16_t n, const char* v, void* out) {
            *static_cast<std::string*>(out) += std::to_string(n) + "=" + v + ";";
        }, &got)) << c.what;
        EXPECT_EQ(got, c.expected) << c.what;
        // Each listed record is what the game's own lookup gives.
        if (c.layout == Layout::KeyValue && std::string(c.header) == "[Moves]")
            for (std::size_t at = 0; at < got.size();) {
                std::size_t eq = got.find('=', at), end = got.find(';', at);
                EXPECT_EQ(Look(Move, int16_t(std::stoi(got.substr(at, eq - at)))),
                          got.substr(eq + 1, end - eq - 1)) << c.what;
                at = end + 1;
            }
    }
}
