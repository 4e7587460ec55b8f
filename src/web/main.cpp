// The web front end: the duel's host in the browser. The page (web.js) calls these
// through Asyncify, so that a pause hands the browser its turn and the page keeps drawing.
#include <emscripten.h>
#include <cstdio>
#include <string>
#include "data/picture_name.h"
#include "data/settings.h"
#include "data/windows1252.h"
#include "duel/duel.h"
#include "duel/layout.h"
#include "duel/platform.h"
#include "duel/state.h"
#include "gfx/pixel_screen.h"

// The page shows what was drawn: the canvas and the message line's live region. Each
// engine calls the page's session that made it (Module.page), and only that one.
EM_JS(void, Present, (), { Module.page.present(); });
EM_ASYNC_JS(void, ShowMessageBox, (const char* text), {
    await Module.page.messageBox(UTF8ToString(text));
});
EM_JS(void, ShowEnd, (), { Module.page.ended(); });

bool WindowsDirectory(char* buf, std::size_t cap) {
    return std::snprintf(buf, cap, "/windows") < int(cap);
}
uint32_t TickCount() { return uint32_t(emscripten_get_now()); }
void Pause(uint32_t ms) {
    Present();
    emscripten_sleep(ms);
}
void Message(const char* text) {
    Present();
    ShowMessageBox(text);
}
void CloseMainWindow() {
    ending = true;
    Present();
    ShowEnd();
}

namespace {

std::string json;  // the last answer to the page
char shown[3 * sizeof msg + 1];  // the last text, in UTF-8, which the page reads it as

}  // namespace

extern "C" {

// What the page draws and sends by the game's own table: the screen's size, each move's
// click band (a click strictly inside it, right of left and below top, names the move)
// and the settings' keys, which the page's address gives.
EMSCRIPTEN_KEEPALIVE const char* web_layout() {
    auto field = [](const char* name, int value) { return "\"" + std::string(name) + "\":" + std::to_string(value); };
    json = "{" + field("width", kScreenWidth) + "," + field("height", kScreenHeight) + ",\"moves\":[";
    for (int k = 0; k < 3; k++) {
        const Point at = kMoveNames[k];
        json += (k ? ",{" : "{") + field("left", at.x) + "," + field("top", at.y) + "," +
                field("bottom", at.y + kBandHeight) + "," + field("letter", kLetterWidth) + "}";
    }
    json += "],\"keys\":[";
    for (int i = 0; i < kSettingCount; i++) json += std::string(i ? ",\"" : "\"") + SettingName(i) + "\"";
    json += "]}";
    return json.c_str();
}

// The files the settings' match reads from its folder, one a line, master.dat first.
EMSCRIPTEN_KEEPALIVE const char* web_files() {
    GetInfo();
    json = "master.dat";
    Text<255> name;
    const struct { const char* prefix; int16_t n; } pictures[] = {
        {kCreaturePicture, youNum}, {kCreaturePicture, oppNum}, {kBackPicture, youTNum}, {kTrainerPicture, oppTNum}};
    for (const auto& p : pictures) {
        PictureFile(name, p.prefix, p.n);
        json += "\n";
        json += name;
    }
    return json.c_str();
}

// The start, in two steps as in the Windows program: the duel set up and the window's first
// painting, shown at once; then, once the page has the pictures, the opening and the duel.
EMSCRIPTEN_KEEPALIVE void web_prepare() {
    PrepareDuel();
    InvalidateScreen();
    onPaint();
    Present();
}

EMSCRIPTEN_KEEPALIVE void web_begin(const char* commandLine) {
    BeginDuel(commandLine);
    Present();
}

EMSCRIPTEN_KEEPALIVE void web_click(int x, int y) {
    onClick(x, y);
    Present();
}

// A full repaint, as when the window is uncovered: the benchmark times it.
EMSCRIPTEN_KEEPALIVE void web_repaint() {
    InvalidateScreen();
    onPaint();
}

EMSCRIPTEN_KEEPALIVE uint32_t* web_pixels() { return screenPixels; }
EMSCRIPTEN_KEEPALIVE const char* web_message() {
    Windows1252TextToUtf8(msg, shown, sizeof shown);
    return shown;
}
EMSCRIPTEN_KEEPALIVE const char* web_move(int k) {
    Windows1252TextToUtf8(k == 1 ? youMove.moveA : k == 2 ? youMove.moveB : youMove.moveC, shown, sizeof shown);
    return shown;
}

// Each side as the duel screen shows it, for the page's own text where the screen is small:
// side 0 is the player's, 1 the opponent's. A name only once the opening has shown it.
EMSCRIPTEN_KEEPALIVE const char* web_name(int side) {
    Windows1252TextToUtf8(showPics ? (side ? opp : you) : "", shown, sizeof shown);
    return shown;
}
EMSCRIPTEN_KEEPALIVE int web_hit_points(int side) { return side ? oppHP : youHP; }
EMSCRIPTEN_KEEPALIVE int web_full_hit_points(int side) { return side ? oppMaxHP : youMaxHP; }
}
