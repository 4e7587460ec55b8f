// Listing the database: one pass of the lookups' own rule over every line.
#include "data/catalog.h"
#include "data/files.h"
#include "duel/state.h"

namespace {

LineReader reader;
AllRecords all;  // 32 KiB: at file scope, off the stack

}  // namespace

bool ListRecords(RecordVisit visit, void* context) {
    Text<255> name;
    name = path;
    name += "master.dat";
    int16_t status;
    FileHandle file = OpenForReading(name, status);
    if (!file) return false;
    StartLines(reader, file);
    StartAllRecords(all);
    Text<255> line;
    FoundRecord found[4];
    for (;;) {
        status = ReadLine(reader, line);
        if (status != kStatusOk && status != kStatusEnd && status != kStatusCut) break;
        const int count = TakeLine(all, line, found);
        for (int i = 0; i < count; i++) visit(found[i].section, found[i].n, found[i].value, found[i].own, context);
        if (status == kStatusEnd) {
            CloseFile(file);
            return true;
        }
    }
    CloseFile(file);
    return false;
}
