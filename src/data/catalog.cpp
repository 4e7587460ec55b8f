// Listing a section: its lines from its header to the next header of any section. A record
// is listed when it is the line a lookup of its number finds: the first one after the
// section's header, wherever it stands.
#include "data/catalog.h"
#include <cstring>
#include "data/files.h"
#include "duel/state.h"

namespace {

LineReader reader;
uint8_t seen[65536 / 8];

bool IsAnyHeader(const char* line) {
    LineView view;
    for (const Section& s : kSections) {
        ViewLine(line, s.header, s.layout, view);
        if (view.header) return true;
    }
    return false;
}

}  // namespace

bool ListRecords(const char* header, Layout layout, RecordVisit visit, void* context) {
    Text<255> name;
    name = path;
    name += "master.dat";
    int16_t status;
    FileHandle file = OpenForReading(name, status);
    if (!file) return false;
    StartLines(reader, file);
    std::memset(seen, 0, sizeof seen);
    Text<255> line;
    LineView view;
    bool started = false, inSection = false;
    for (;;) {
        status = ReadLine(reader, line);
        if (status != kStatusOk && status != kStatusEnd && status != kStatusCut) break;
        ViewLine(line, header, layout, view);
        const bool otherHeader = !view.header && IsAnyHeader(line);
        if (view.header) started = inSection = true;
        // Once the section has begun, any line can be the one a lookup finds first, even
        // another section's header ("7=[Trainers]" is move 7).
        if (started && !view.blank && view.key >= INT16_MIN && view.key <= INT16_MAX) {
            const unsigned k = unsigned(view.key + 32768);
            if (!(seen[k >> 3] & (1u << (k & 7)))) {
                seen[k >> 3] |= uint8_t(1u << (k & 7));
                if (inSection && !otherHeader) visit(int16_t(view.key), view.value, context);
            }
        }
        if (otherHeader) inSection = false;
        if (status == kStatusEnd) {
            CloseFile(file);
            return true;
        }
    }
    CloseFile(file);
    return false;
}
