// Lookup benchmark, native: GetMove of the record on the last line of a 1 MB master.dat,
// against the same scan over a reader that makes one read(2) call per byte.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <fcntl.h>
#include <unistd.h>
#include "data/database.h"
#include "data/files.h"
#include "data/number.h"
#include "data/records.h"
#include "duel/state.h"
#include "byte_lines.h"
#include "fake_platform.h"
#include "table.h"

namespace {

constexpr int16_t kMove = 77;
constexpr char kMoveName[] = "Thunder Lance";
constexpr long kFileBytes = 1 << 20;
constexpr int kOursReps = 200;
constexpr int kLiteralReps = 10;  // a million system calls each

// The "[Moves]" header near the start, filler records, the looked-up one last.
bool WriteDatabase(const std::string& name) {
    std::string text = "; benchmark database\r\n[Moves]\r\n";
    for (int k = 1000; long(text.size()) < kFileBytes - 40; k++)
        text += std::to_string(k) + "=Filler move number " + std::to_string(k) + "\r\n";
    text += std::to_string(kMove) + "=" + kMoveName + "\r\n";
    std::FILE* f = std::fopen(name.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return std::fclose(f) == 0 && ok;
}

bool ReadOne(void* fd, unsigned char& c) { return read(int(intptr_t(fd)), &c, 1) == 1; }

// ScanRecords' key-value scan over the literal reader, with the same lookup around it.
bool LiteralGetMove(int16_t n, Text<255>& result) {
    Text<255> name;
    name = path;
    name += "master.dat";
    if (!FileExists(name)) return false;
    const int fd = open(name, O_RDONLY);
    if (fd < 0) return false;
    ByteLines in{ReadOne, reinterpret_cast<void*>(intptr_t(fd))};
    Text<255> line, key, value;
    bool inSection = false, found = false;
    for (;;) {
        int16_t status = in.Read(line);
        if (line[std::strspn(line, " ")] != 0) {
            SplitKeyValue(line, key, value);
            if (value == "[Moves]") {
                inSection = true;
            } else if (inSection && NumberOf(key) == n) {
                result = value;
                found = true;
                break;
            }
        }
        if (status == kStatusEnd) break;
    }
    close(fd);
    return found;
}

// The best of ten batches: on a shared machine the other nine carry its noise.
template <typename Work>
double MsPerCall(int reps, Work work) {
    work();  // warm-up: the file is in the page cache from here on
    double best = 1e300;
    for (int batch = 0; batch < 10; batch++) {
        auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < (reps + 9) / 10; i++) work();
        std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count() / ((reps + 9) / 10));
    }
    return best;
}

}  // namespace

int main() {
    char dir[] = "/tmp/vorrak-bench-XXXXXX";
    if (!mkdtemp(dir)) {
        std::perror("bench_lookup: mkdtemp");
        return 1;
    }
    const std::string folder = std::string(dir) + "/";
    const std::string database = folder + "master.dat";
    int status = 1;
    if (!WriteDatabase(database)) {
        std::fprintf(stderr, "bench_lookup: can't write %s\n", database.c_str());
    } else {
        fake::Reset();  // the stand-in platform records any fault the lookup reports
        path = folder.c_str();
        Text<255> ours, literal;
        double oursMs = MsPerCall(kOursReps, [&] { GetMove(kMove, ours); });
        double literalMs = MsPerCall(kLiteralReps, [&] { LiteralGetMove(kMove, literal); });
        if (ours != kMoveName || literal != kMoveName || !fake::boxes.empty()) {
            std::fprintf(stderr, "bench_lookup: found \"%s\" and \"%s\", not \"%s\"\n", ours.c,
                         literal.c, kMoveName);
        } else {
            PrintTableHeader();
            PrintTableRow("Move lookup, record on the last line of a 1 MB master.dat", oursMs,
                          literalMs);
            status = 0;
        }
    }
    std::remove(database.c_str());
    rmdir(dir);
    return status;
}
