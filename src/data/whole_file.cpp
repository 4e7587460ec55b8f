// Whole-file reads over the platform's file operations.
#include "data/files.h"

bool ReadWholeFile(const char* name, Buffer<uint8_t>& data, long long max) {
    int16_t status;
    FileHandle f = OpenForReading(name, status);
    if (!f) return false;
    long long size = FileLength(f);
    if (size > max) size = max;
    if (!data.reset(size > 0 ? static_cast<std::size_t>(size) : 0)) {
        CloseFile(f);
        return false;
    }
    std::size_t got = 0;
    while (got < data.size()) {
        long n = ReadBlock(f, reinterpret_cast<char*>(data.data() + got),
                           static_cast<long>(data.size() - got), status);
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    data.shrink(got);
    CloseFile(f);
    return true;
}
