// The records of a data folder, as the chooser lists them: for the duel's page and for the
// checker's worker, which lists an author's files away from the page's own thread.
#include <emscripten.h>
#include <cstdlib>
#include <cstring>
#include "data/catalog.h"
#include "data/database.h"
#include "data/files.h"
#include "data/number.h"
#include "data/windows1252.h"
#include "duel/state.h"
#include "duel/text.h"

namespace {

// The last listing. It grows as it goes, as a data folder may hold thousands of records;
// plain memory, since the checker carries none of the C++ library's strings.
char* json;
std::size_t used, room;
bool outOfMemory;  // the listing is cut: it is given as none

void Add(const char* text) {
    if (outOfMemory) return;
    const std::size_t n = std::strlen(text);
    if (used + n + 1 > room) {
        char* more = static_cast<char*>(std::realloc(json, 2 * (used + n + 1)));
        if (!more) {
            outOfMemory = true;
            return;
        }
        json = more;
        room = 2 * (used + n + 1);
    }
    std::memcpy(json + used, text, n + 1);
    used += n;
}

// A JSON string of Windows-1252 text, in UTF-8.
void Quote(const char* s) {
    Add("\"");
    for (; *s; s++) {
        const unsigned char c = static_cast<unsigned char>(*s);
        static const char hex[] = "0123456789abcdef";
        const char escape[] = {'\\', 'u', '0', '0', hex[c >> 4], hex[c & 15], 0};
        char plain[4] = {};
        Windows1252ToUtf8(c, plain);
        Add(c < 0x20 || c == '"' || c == '\\' ? escape : plain);
    }
    Add("\"");
}

struct Listing {
    int section;
};

void AddRecord(int16_t n, const char* value, void* context) {
    const int section = static_cast<Listing*>(context)->section;
    Text<255> name;
    name = value;
    name.cut(section == kNames ? 10 : 63);  // as the duel shows them
    Add(used && json[used - 1] == '[' ? "[" : ",[");
    Add(Num(n));
    Add(",");
    Quote(name);
    if (section == kMoves) {
        Add(",");
        Add(Num(GetDamage(n)));
    }
    Add("]");
}

void List(const char* key, int section, const char* header) {
    Add("\"");
    Add(key);
    Add("\":[");
    Listing listing{section};
    ListRecords(header, section == kNames ? Layout::Columns : Layout::KeyValue, AddRecord, &listing);
    Add("]");
}

}  // namespace

// The records of the data folder, for the match chooser, as JSON; "" when there is no
// database.
extern "C" EMSCRIPTEN_KEEPALIVE const char* web_catalog(const char* folder) {
    path = folder;
    used = 0;
    outOfMemory = false;
    Add("{");
    List("trainers", kTrainers, "[Trainers]");
    Add(",");
    List("creatures", kNames, "[Names]");
    Add(",");
    List("moves", kMoves, "[Moves]");
    Add("}");
    Text<255> database;
    database = path;
    database += "master.dat";
    return FileExists(database) && !outOfMemory ? json : "";
}

