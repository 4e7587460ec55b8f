// The few file operations the data layer needs; the platform layer provides them.
#pragma once
#include <cstddef>
#include <cstdint>
#include "duel/buffer.h"

using FileHandle = void*;

// Status codes of the file operations, as the line reader reports them.
constexpr int16_t kStatusOk = 0;
constexpr int16_t kStatusEnd = 38;
constexpr int16_t kStatusCut = -32768;

bool FileExists(const char* name);

// What tells one version of a file from the next: its size and when it was last written.
// known is false where the system can't tell them cheaply (Windows 95).
struct FileStamp {
    bool known = false;
    uint64_t size = 0, written = 0;
    bool same(const FileStamp& o) const {
        return known && o.known && size == o.size && written == o.written;
    }
};
// FileExists, also telling the file's stamp.
bool FileExists(const char* name, FileStamp& stamp);
// Opens an existing file for reading, sharing reading and writing with others.
// Returns nullptr and a non-zero status when it can't.
FileHandle OpenForReading(const char* name, int16_t& status);
// Reads up to cap bytes; returns the count, 0 at the end, -1 on failure (status set).
long ReadBlock(FileHandle f, char* buf, long cap, int16_t& status);
// The file's length in bytes, or -1 when it can't be told.
long long FileLength(FileHandle f);
void CloseFile(FileHandle f);

// Reads at most max bytes of a file in one go; false when it can't be opened or memory is short.
bool ReadWholeFile(const char* name, Buffer<uint8_t>& data, long long max);

// Writes a complete new file beside name (name + ".new"), then puts it in name's place, so
// that a failure leaves the old file as it was. Returns 0 or the system's error code.
uint32_t WriteFileSafely(const char* name, const char* data, std::size_t size);

// Calls visit with the name of each file in folder (which ends in its separator) whose name
// ends in suffix, in no set order, letters of any case; false when the folder can't be read.
using FileVisit = void (*)(const char* name, void* context);
bool ListFiles(const char* folder, const char* suffix, FileVisit visit, void* context);
