// The web front end: the duel's host in the browser. The page (web.js) calls these
// through Asyncify, so that a pause hands the browser its turn and the page keeps drawing.
#include <emscripten.h>
#include <cstdio>
#include <string>
#include "data/picture_name.h"
#include "data/settings.h"
#include "duel/duel.h"
#include "duel/platform.h"
#include "duel/state.h"
#include "gfx/pixel_screen.h"

// The page shows what was drawn: the canvas and the message line's live region.
EM_JS(void, Present, (), { Vorrak.present(); });
EM_ASYNC_JS(void, ShowMessageBox, (const char* text), {
    await Vorrak.messageBox(UTF8ToString(text));
});
EM_JS(void, ShowEnd, (), { Vorrak.ended(); });

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

}  // namespace

extern "C" {

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

EMSCRIPTEN_KEEPALIVE void web_start(const char* commandLine) {
    PrepareDuel();
    InvalidateScreen();
    onPaint();
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
EMSCRIPTEN_KEEPALIVE const char* web_message() { return msg; }
EMSCRIPTEN_KEEPALIVE const char* web_move(int k) {
    return k == 1 ? youMove.moveA : k == 2 ? youMove.moveB : youMove.moveC;
}
EMSCRIPTEN_KEEPALIVE int web_ended() { return ending; }
}
