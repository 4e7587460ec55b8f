// The file operations on POSIX, for the native tests; backslashes are taken as slashes.
#include <cstdio>
#include <string>
#include <sys/stat.h>
#include "data/files.h"

static std::string Native(const char* name) {
    std::string n = name;
    for (char& c : n)
        if (c == '\\') c = '/';
    return n;
}

bool FileExists(const char* name) {
    struct stat st;
    return stat(Native(name).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

FileHandle OpenForReading(const char* name, int16_t& status) {
    std::FILE* f = std::fopen(Native(name).c_str(), "rb");
    status = f ? 0 : 2;
    return f;
}

long ReadBlock(FileHandle f, char* buf, long cap, int16_t& status) {
    std::size_t n = std::fread(buf, 1, static_cast<std::size_t>(cap), static_cast<std::FILE*>(f));
    if (n == 0 && std::ferror(static_cast<std::FILE*>(f))) {
        status = 5;
        return -1;
    }
    status = 0;
    return static_cast<long>(n);
}

long long FileLength(FileHandle f) {
    struct stat st;
    if (fstat(fileno(static_cast<std::FILE*>(f)), &st) != 0) return -1;
    return st.st_size;
}

void CloseFile(FileHandle f) { std::fclose(static_cast<std::FILE*>(f)); }
