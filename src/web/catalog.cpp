// The records of a data folder, as the chooser lists them: for the duel's page and for the
// checker's worker, which lists an author's files away from the page's own thread.
#include <emscripten.h>
#include <cstdlib>
#include <cstring>
#include "data/catalog.h"
#include "data/files.h"
#include "data/number.h"
#include "data/windows1252.h"
#include "duel/state.h"
#include "duel/text.h"

namespace {

// Text that grows as it goes, as a data folder may hold thousands of records; plain
// memory, since the checker carries none of the C++ library's strings.
struct Growing {
    char* text;
    std::size_t used, room;
};
Growing json;            // the last listing
Growing lists[3];        // its trainers, creatures and moves, each entry ending in a line feed
bool outOfMemory;        // the listing is cut: it is given as none
int32_t damages[65536];  // each move's damage as GetDamage finds it, by number + 32768

const struct {
    const char* key;
    int section;
} kLists[3] = {{"trainers", kTrainers}, {"creatures", kNames}, {"moves", kMoves}};

void Add(Growing& to, const char* text) {
    if (outOfMemory) return;
    const std::size_t n = std::strlen(text);
    if (to.used + n + 1 > to.room) {
        char* more = static_cast<char*>(std::realloc(to.text, 2 * (to.used + n + 1)));
        if (!more) {
            outOfMemory = true;
            return;
        }
        to.text = more;
        to.room = 2 * (to.used + n + 1);
    }
    std::memcpy(to.text + to.used, text, n + 1);
    to.used += n;
}

// A JSON string of Windows-1252 text, in UTF-8.
void Quote(Growing& to, const char* s) {
    Add(to, "\"");
    for (; *s; s++) {
        const unsigned char c = static_cast<unsigned char>(*s);
        static const char hex[] = "0123456789abcdef";
        const char escape[] = {'\\', 'u', '0', '0', hex[c >> 4], hex[c & 15], 0};
        char plain[4] = {};
        Windows1252ToUtf8(c, plain);
        Add(to, c < 0x20 || c == '"' || c == '\\' ? escape : plain);
    }
    Add(to, "\"");
}

// A record goes to its list as [number,"name", cut as the duel shows it; a move's damage
// may stand further on in the file, so it is added once the pass is over.
void AddRecord(int section, int16_t n, const char* value, bool own, void*) {
    int32_t damage;
    if (section == kDamage) {
        damages[n + 32768] = ParseNumber(value, damage) ? damage : 0;
        return;
    }
    if (!own) return;
    Growing& list = lists[section == kTrainers ? 0 : section == kNames ? 1 : 2];
    Text<255> name;
    name = value;
    name.cut(section == kNames ? 10 : 63);
    Add(list, "[");
    Add(list, Num(n));
    Add(list, ",");
    Quote(list, name);
    Add(list, "\n");
}

void AddList(int k) {
    Add(json, k ? ",\"" : "\"");
    Add(json, kLists[k].key);
    Add(json, "\":[");
    Growing& list = lists[k];
    for (std::size_t at = 0; at < list.used;) {
        char* entry = list.text + at;
        char* end = std::strchr(entry, '\n');
        *end = 0;
        Add(json, at ? "," : "");
        Add(json, entry);
        if (kLists[k].section == kMoves) {
            Add(json, ",");
            Add(json, Num(damages[std::atoi(entry + 1) + 32768]));
        }
        Add(json, "]");
        at = std::size_t(end + 1 - list.text);
    }
    Add(json, "]");
}

}  // namespace

// The records of the data folder, for the match chooser, as JSON; "" when there is no
// database. One pass over the file gives every list and every move's damage.
extern "C" EMSCRIPTEN_KEEPALIVE const char* web_catalog(const char* folder) {
    path = folder;
    outOfMemory = false;
    json.used = 0;
    for (Growing& list : lists) list.used = 0;
    std::memset(damages, 0, sizeof damages);
    ListRecords(AddRecord, nullptr);
    if (outOfMemory) return "";  // a list may end within an entry
    Add(json, "{");
    for (int k = 0; k < 3; k++) AddList(k);
    Add(json, "}");
    Text<255> database;
    database = path;
    database += "master.dat";
    return FileExists(database) && !outOfMemory ? json.text : "";
}
