// The web front end: the duel's host in the browser. The page (web.js) calls these
// through Asyncify, so that a pause hands the browser its turn and the page keeps drawing.
#include <emscripten.h>
#include <cstdio>
#include <string>
#include "data/catalog.h"
#include "data/database.h"
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

std::string json;

void Quote(const char* s) {
    json += '"';
    for (; *s; s++) {
        const unsigned char c = static_cast<unsigned char>(*s);
        char escape[8];
        if (c < 0x20 || c >= 0x80 || c == '"' || c == '\\') {
            std::snprintf(escape, sizeof escape, "\\u%04x", c);  // 8-bit text, as Latin-1
            json += escape;
        } else {
            json += char(c);
        }
    }
    json += '"';
}

struct Listing {
    int section;
};

void AddRecord(int16_t n, const char* value, void* context) {
    const int section = static_cast<Listing*>(context)->section;
    Text<255> name;
    name = value;
    name.cut(section == kNames ? 10 : 63);  // as the duel shows them
    json += json.back() == '[' ? "[" : ",[";
    json += std::to_string(n) + ",";
    Quote(name);
    if (section == kMoves) json += "," + std::to_string(GetDamage(n));
    json += "]";
}

void List(const char* key, int section, const char* header) {
    json += std::string("\"") + key + "\":[";
    Listing listing{section};
    ListRecords(header, section == kNames ? Layout::Columns : Layout::KeyValue, AddRecord, &listing);
    json += "]";
}

}  // namespace

extern "C" {

// The records of the data folder, for the match chooser, as JSON; "" when there is no
// database.
EMSCRIPTEN_KEEPALIVE const char* web_catalog(const char* folder) {
    path = folder;
    json = "{";
    List("trainers", kTrainers, "[Trainers]");
    json += ",";
    List("creatures", kNames, "[Names]");
    json += ",";
    List("moves", kMoves, "[Moves]");
    json += "}";
    return FileExists(std::string(folder).append("master.dat").c_str()) ? json.c_str() : "";
}

// The files the settings' match reads from its folder, one a line, master.dat first.
EMSCRIPTEN_KEEPALIVE const char* web_files() {
    GetInfo();
    json = "master.dat";
    Text<255> name;
    const struct { const char* prefix; int16_t n; } pictures[] = {
        {"", youNum}, {"", oppNum}, {"back", youTNum}, {"t", oppTNum}};
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
