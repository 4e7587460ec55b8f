// The records of a data folder, as the chooser lists them: for the duel's page and for the
// checker's worker, which lists an author's files away from the page's own thread.
#include <emscripten.h>
#include <cstdio>
#include <string>
#include "data/catalog.h"
#include "data/database.h"
#include "data/files.h"
#include "duel/state.h"
#include "duel/text.h"

namespace {

std::string json;  // the last listing

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

// The records of the data folder, for the match chooser, as JSON; "" when there is no
// database.
extern "C" EMSCRIPTEN_KEEPALIVE const char* web_catalog(const char* folder) {
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

