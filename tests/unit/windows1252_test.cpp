// The game's text beyond ASCII: Windows-1252, shown the same by every front end.
#include <gtest/gtest.h>
#include <string>
#include "check/report.h"
#include "data/windows1252.h"
#include "duel/screen.h"
#include "gfx/pixel_screen.h"

namespace {

// The pixels of one character drawn opaque at the screen's top left corner.
std::string Drawn(unsigned char c) {
    const char text[] = {char(c), 0};
    BeginDrawing();
    ShowText(0, 0, text, true);
    EndDrawing();
    std::string cell;
    for (int y = 0; y < 10; y++)
        for (int x = 0; x < 8; x++) cell += (screenPixels[y * kScreenWidth + x] & 0xFFFFFF) ? '.' : '#';
    return cell;
}

}  // namespace

TEST(Windows1252, NamesReadTheSameInUtf8AndJson) {
    struct Case {
        const char* name;
        const char* shown;
    };
    const Case cases[] = {
        {"Caf\xe9", "Caf\u00e9"},
        {"Rook\x92s Gambit", "Rook\u2019s Gambit"},
        {"Spark \x96 Flash", "Spark \u2013 Flash"},
        {"\x80" "5 Bite", "\u20ac5 Bite"},
        {"Na\xefve \xff", "Na\u00efve \u00ff"},
        {"\x81\x8d\x8f\x90\x9d", "\ufffd\ufffd\ufffd\ufffd\ufffd"},  // undefined in Windows-1252
    };
    for (const Case& c : cases) {
        char utf8[64];
        Windows1252TextToUtf8(c.name, utf8, sizeof utf8);
        EXPECT_STREQ(utf8, c.shown) << c.name;
        testing::internal::CaptureStdout();
        PrintJson(c.name);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), std::string("\"") + c.shown + "\"");
    }
}

// Every character of the upper half has a glyph of its own; the undefined ones draw "?".
TEST(Windows1252, PixelFontDrawsTheUpperHalf) {
    const std::string unknown = Drawn('?');
    for (int c = 0x80; c <= 0xFF; c++) {
        const bool defined = Windows1252ToUnicode(static_cast<unsigned char>(c)) != 0;
        EXPECT_EQ(Drawn(static_cast<unsigned char>(c)) != unknown, defined) << std::hex << c;
    }
}
