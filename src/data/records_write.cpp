// The record writer: the file taken apart piece by piece as the game's reader does, and one
// record's line set, added or removed.
#include "data/records_write.h"
#include <cstring>
#include "data/lines.h"
#include "data/number.h"
#include "data/records.h"
#include "duel/state.h"

namespace {

const char* const kNoun[4] = {"move", "trainer", "creature", "damage for move"};
constexpr int16_t kLowestCreature = -99, kHighestCreature = 999;  // three characters

LineReader reader;  // 64 KiB of block buffer: kept off the stack

// A piece of the file as the game's reader gives it, and where its bytes lie.
struct Piece {
    Text<255> line;
    long long start = 0, stop = 0, next = 0;  // its text from start, its line end from stop to next
    int16_t status = kStatusEnd;
};

// The file's pieces in order, each as every section's lookup sees it, with the sections
// begun before it.
struct Walk {
    const char* bytes;
    Piece p;
    LineView view[4];
    int header = -1;   // the section whose header p is, or -1
    int current = -1;  // the section whose stretch p stands in
    bool started[4] = {};
    bool over = false;

    Walk(const char* data, std::size_t size) : bytes(data) { StartLinesInMemory(reader, data, size); }
    bool Next();
    // A line section s's lookup of n takes, if no line before it was one.
    bool Keyed(int s, int16_t n) const { return started[s] && view[s].key == n; }
    bool Own(int s) const { return header < 0 && current == s; }
};

bool Walk::Next() {
    if (over) return false;
    if (header >= 0) started[current = header] = true;
    const char* text;
    std::size_t length;
    p.status = NextPiece(reader, text, length);
    p.line.assign(text, length);
    p.start = OffsetOf(reader, text);
    p.stop = p.next = NextOffset(reader);
    if (p.status == kStatusOk) {  // the text holds no CR or LF: what ends the piece is its line end
        p.stop--;
        if (bytes[p.stop] == '\n' && p.stop > p.start && bytes[p.stop - 1] == '\r') p.stop--;
    }
    over = p.status != kStatusOk && p.status != kStatusCut;
    header = -1;
    for (int s = 0; s < 4; s++) {
        ViewLine(p.line, kSections[s].header, kSections[s].layout, view[s]);
        if (view[s].header) header = s;
    }
    return true;
}

// A line is no section's header, and reads in every other section begun before it as no
// record of a number other than n, nor of n where that section's own record of n stands after
// it (ownAfter, may be null); else it would change what lookups find, and why says how.
bool Harmless(const char* line, int section, int16_t n, const bool started[4], const bool* ownAfter,
              Said& why) {
    LineView v;
    for (int s = 0; s < 4; s++) {
        ViewLine(line, kSections[s].header, kSections[s].layout, v);
        const bool other = s != section && started[s] && v.key >= INT16_MIN && v.key <= INT16_MAX &&
                           (v.key != n || (ownAfter && ownAfter[s]));
        if (!v.header && !other) continue;
        why = "the line \"";
        why += line;
        if (v.header) {
            why += "\" reads as the header ";
            why += kSections[s].header;
        } else {
            why += "\" reads as ";
            why += kNoun[s];
            why += " ";
            why += Num(v.key);
            why += v.key == n ? " too, before its own record" : " too (sections never end)";
        }
        return false;
    }
    return true;
}

// The line of a record: a key as the section's layout writes it, then the text, a name cut to
// what the duel shows and the line holds (cut tells how far, when it was). False when a
// damage doesn't fit the line.
bool RecordLine(int section, const char* prefix, const char* text, Text<255>& line, std::size_t& cut) {
    line = prefix;
    std::size_t room = kPieceMax - line.length();
    if (section != kDamage && NameRoom(section) < room) room = NameRoom(section);
    const std::size_t length = std::strlen(text);
    cut = length > room ? room : 0;
    line.append(Text<255>().assign(text, length > room ? room : length));
    return section != kDamage || !cut;
}

// A new record's key: three columns for a creature, else "n=" (after three blanks when asked,
// so that the columns' key never reads the first three characters of a longer one).
void NewPrefix(int section, int16_t n, bool blanks, Text<255>& prefix) {
    if (section == kNames) {
        const int m = n < 0 ? -n : n;
        const char key[] = {n < 0 ? '-' : char('0' + m / 100), char('0' + m / 10 % 10),
                            char('0' + m % 10), ' ', 0};
        prefix = key;
        return;
    }
    prefix = blanks ? "   " : "";
    prefix += Num(n);
    prefix += "=";
}

// An existing record's key, as it stands: the text before its first "=", or the key field and
// the separator, blanks making up what the line lacks of them.
void OldPrefix(int section, const char* line, Text<255>& prefix) {
    if (section != kNames) {
        const char* eq = std::strchr(line, '=');
        prefix.assign(line, eq ? std::size_t(eq - line) : std::strlen(line));
        prefix += "=";
        return;
    }
    prefix.assign(line, std::strlen(line) < 4 ? std::strlen(line) : 4);
    while (prefix.length() < 4) prefix += " ";
}

// Why a text can't be a record's, or null.
const char* Refusal(const RecordEdit& edit) {
    if (edit.section < 0 || edit.section > 3) return "there is no such section";
    if (!edit.text) return nullptr;
    if (std::strpbrk(edit.text, "\r\n"))
        return "a record can't hold a line break: the game would read the rest as a line of its own";
    int32_t damage;
    if (edit.section == kDamage && !ParseNumber(edit.text, damage))
        return "a damage is a number, like 35, -5 or 23H: the game reads anything else as 0";
    if (edit.section == kNames && (edit.number < kLowestCreature || edit.number > kHighestCreature))
        return "a creature's number is from -99 to 999: the game reads it from a line's first three "
               "characters";
    return nullptr;
}

struct Output {
    Buffer<char>& out;
    std::size_t used = 0;
    void Put(const char* s, std::size_t n) {
        std::memcpy(out.data() + used, s, n);
        used += n;
    }
    void Put(const char* s) { Put(s, std::strlen(s)); }
};

void SayRecord(Said& said, const RecordEdit& edit, const char* what) {
    said = kNoun[edit.section];
    said += " ";
    said += Num(edit.number);
    said += what;
}

bool Refuse(Said& said, const char* why) {
    said = why;
    return false;
}

const char kTooLong[] = "the damage's line would be longer than the 254 characters the game reads as one";

bool Remove(const char* old, std::size_t oldSize, const RecordEdit& edit, Buffer<char>& out,
            std::size_t& outSize, Said& said) {
    long own = 0;
    for (Walk w(old, oldSize); w.Next();) {
        if (!w.Keyed(edit.section, edit.number) || !w.Own(edit.section)) continue;
        if (!Harmless(w.p.line, edit.section, edit.number, w.started, nullptr, said)) {
            said += ": remove it by hand";
            return false;
        }
        own++;
    }
    if (own == 0) {
        said = "there is no ";
        said += kNoun[edit.section];
        said += " ";
        said += Num(edit.number);
        said += " to remove";
        return false;
    }
    if (!out.reset(oldSize + 1)) return Refuse(said, "not enough memory");
    Output o{out};
    for (Walk w(old, oldSize); w.Next();)
        if (!w.Keyed(edit.section, edit.number) || !w.Own(edit.section))
            o.Put(old + w.p.start, std::size_t(w.p.next - w.p.start));
    outSize = o.used;
    SayRecord(said, edit, own == 1 ? " removed" : " removed, every line of it");
    return true;
}

// What one pass over the file tells: the line the lookup finds, where a new record goes,
// and the sections begun at each of those places.
struct Survey {
    Piece found;  // found.start is -1 when the lookup finds nothing
    bool foundOwn = false, atFound[4] = {};
    long long insertAt = -1;  // after the last record of the section's first stretch
    bool openEnd = false;     // there, the file ends without a line end
    Text<3> insertEnd, style;  // the line end there, and the file's first
    bool atInsert[4] = {}, atEnd[4] = {};
    bool lastOpen = false;     // the file's last line has no line end
    long long ownAt[4] = {-1, -1, -1, -1};  // each section's lookup of n finds its own record there
};

void Look(const char* old, std::size_t oldSize, int section, int16_t n, Survey& s) {
    s.found.start = -1;
    s.style = "\r\n";
    bool styleSeen = false, firstStretch = false, stretchOver = false, wantPlace = false;
    bool matched[4] = {};
    Walk w(old, oldSize);
    while (w.Next()) {
        const Piece& p = w.p;
        if (!styleSeen && p.status == kStatusOk) {
            s.style.assign(old + p.stop, std::size_t(p.next - p.stop));
            styleSeen = true;
        }
        for (int k = 0; k < 4; k++)
            if (w.Keyed(k, n) && !matched[k]) {
                matched[k] = true;
                if (w.Own(k)) s.ownAt[k] = p.start;
            }
        if (w.Keyed(section, n) && s.found.start < 0) {
            s.found = p;
            s.foundOwn = w.Own(section);
            std::memcpy(s.atFound, w.started, sizeof s.atFound);
        }
        if (w.header == section && !stretchOver) {
            firstStretch = wantPlace = true;
        } else if (firstStretch && w.header >= 0) {
            firstStretch = false;
            stretchOver = true;
        } else if (firstStretch && w.view[section].key != kNotANumber) {
            wantPlace = true;
        }
        // After a record, at the first line end that follows it, or at the file's end.
        const bool lineEnds = p.status == kStatusOk || (p.status != kStatusCut && p.next > p.start);
        if (firstStretch && wantPlace && lineEnds) {
            s.insertAt = p.next;
            s.openEnd = p.status != kStatusOk;
            s.insertEnd.assign(old + p.stop, std::size_t(p.next - p.stop));
            std::memcpy(s.atInsert, w.started, sizeof s.atInsert);
            wantPlace = false;
        }
        s.lastOpen = p.next > p.start;
    }
    std::memcpy(s.atEnd, w.started, sizeof s.atEnd);
    if (w.header >= 0) s.atEnd[w.header] = true;
}

}  // namespace

int SectionNamed(const char* word) {
    const char* const words[4] = {"moves", "trainers", "names", "damage"};  // by kMoves...
    for (int s = 0; s < 4; s++)
        if (!std::strcmp(word, words[s])) return s;
    return -1;
}

std::size_t NameRoom(int section) {
    switch (section) {
        case kNames: return decltype(you)::capacity() - 1;
        case kMoves: return decltype(youMove.moveA)::capacity() - 1;
        default: return kPieceMax;
    }
}

bool EditRecord(const char* old, std::size_t oldSize, const RecordEdit& edit, Buffer<char>& out,
                std::size_t& outSize, Said& said) {
    outSize = 0;
    said = "";
    if (const char* why = Refusal(edit)) return Refuse(said, why);
    if (!edit.text) return Remove(old, oldSize, edit, out, outSize, said);
    const int section = edit.section;
    const int16_t n = edit.number;
    Survey s;
    Look(old, oldSize, section, n, s);
    const bool replace = s.found.start >= 0 && s.foundOwn;
    const bool hasSection = s.atEnd[section];
    if (!replace && hasSection && s.insertAt < 0) {
        said = "no line end follows the header ";
        said += kSections[section].header;
        said += " within 254 characters: add the record by hand";
        return false;
    }
    bool* started = replace ? s.atFound : hasSection ? s.atInsert : s.atEnd;
    started[section] = true;
    bool ownAfter[4] = {};
    for (int k = 0; k < 4; k++) ownAfter[k] = !replace && hasSection && s.ownAt[k] >= s.insertAt;

    Text<255> prefix, line;
    std::size_t cut = 0;
    if (replace) OldPrefix(section, s.found.line, prefix);
    else NewPrefix(section, n, false, prefix);
    if (!RecordLine(section, prefix, edit.text, line, cut)) return Refuse(said, kTooLong);
    if (replace && !Harmless(s.found.line, section, n, started, nullptr, said)) return false;
    if (!Harmless(line, section, n, started, ownAfter, said)) {
        if (replace || section == kNames) return false;
        NewPrefix(section, n, true, prefix);
        Said again;
        if (!RecordLine(section, prefix, edit.text, line, cut)) return Refuse(said, kTooLong);
        if (!Harmless(line, section, n, started, ownAfter, again)) return false;
    }

    if (!out.reset(oldSize + line.length() + 32)) return Refuse(said, "not enough memory");
    Output o{out};
    if (replace) {
        o.Put(old, std::size_t(s.found.start));
        o.Put(line);
        if (s.found.status == kStatusCut) o.Put(s.style);  // the long line's rest stays a line of its own
        o.Put(old + s.found.stop, oldSize - std::size_t(s.found.stop));
    } else if (hasSection) {
        o.Put(old, std::size_t(s.insertAt));
        if (s.openEnd) o.Put(s.style);
        o.Put(line);
        if (!s.openEnd) o.Put(s.insertEnd);
        o.Put(old + s.insertAt, oldSize - std::size_t(s.insertAt));
    } else {
        o.Put(old, oldSize);
        if (s.lastOpen) o.Put(s.style);
        o.Put(kSections[section].header);
        o.Put(s.style);
        o.Put(line);
        if (!s.lastOpen) o.Put(s.style);
    }
    outSize = o.used;
    SayRecord(said, edit, " is now \"");
    said += line.str() + prefix.length();
    said += replace ? "\"" : hasSection ? "\", a new record" : "\", a new record in a new section";
    if (cut) {
        said += "; the name is cut to its first ";
        said += Num(int32_t(cut));
        said += cut == NameRoom(section) ? " characters, as the duel shows it"
                                         : " characters, as much as its line holds";
    }
    return true;
}
