// The file operations over one buffer in memory.
#include "memory_files.h"
#include <cstring>
#include "data/files.h"
#include "data/lines.h"

namespace {
const uint8_t* bytes;
std::size_t length, offset;
long blockSize = kBlockBytes, failing = -1, reads;
int handle;
}  // namespace

void memory_file::Set(const uint8_t* data, std::size_t size, long block, long failingRead) {
    bytes = data;
    length = size;
    blockSize = block > 0 ? block : 1;
    failing = failingRead;
}

bool FileExists(const char*) { return true; }

FileHandle OpenForReading(const char*, int16_t& status) {
    offset = 0;
    reads = 0;
    status = 0;
    return &handle;
}

long ReadBlock(FileHandle, char* buf, long cap, int16_t& status) {
    if (reads++ == failing) {
        status = 5;
        return -1;
    }
    std::size_t n = length - offset;
    if (n > std::size_t(cap)) n = std::size_t(cap);
    if (n > std::size_t(blockSize)) n = std::size_t(blockSize);
    if (n) std::memcpy(buf, bytes + offset, n);
    offset += n;
    status = 0;
    return long(n);
}

long long FileLength(FileHandle) { return (long long)length; }
void CloseFile(FileHandle) {}
bool ListFiles(const char*, const char*, FileVisit, void*) { return false; }
