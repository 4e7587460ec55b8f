// The file operations on POSIX, for the native tools and tests and the web page: names are
// Windows names there, backslashes taken as slashes and letters of either case alike.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>
#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>
#include "data/files.h"
#include "data/picture_name.h"

// The name of the entry of folder (empty: the current one) that Windows would take for
// part: the exact one, else the first in name order whose name differs only in case.
static std::string EntryOf(const std::string& folder, const std::string& part) {
    struct stat st;
    if (stat((folder + part).c_str(), &st) == 0) return part;
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return part;
    std::string found;
    while (dirent* e = readdir(dir))
        if (SameFileName(e->d_name, part.c_str()) && (found.empty() || found > e->d_name)) found = e->d_name;
    closedir(dir);
    return found.empty() ? part : found;
}

// The system's name of a file the game names: where that name is missing, each part of
// it, folders too, found as Windows finds it.
static std::string Native(const char* name) {
    std::string n = name, out;
    for (char& c : n)
        if (c == '\\') c = '/';
    struct stat st;
    if (stat(n.c_str(), &st) == 0) return n;
    for (std::size_t from = 0; from <= n.size();) {
        const std::size_t end = std::min(n.find('/', from), n.size());
        const std::string part = n.substr(from, end - from);
        out += part.empty() || part == "." || part == ".." ? part : EntryOf(out, part);
        if (end < n.size()) out += '/';
        from = end + 1;
    }
    return out;
}

bool FileExists(const char* name) {
    struct stat st;
    return stat(Native(name).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool FileExists(const char* name, FileStamp& stamp) {
    stamp = FileStamp();
    struct stat st;
    if (stat(Native(name).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    stamp.known = true;
    stamp.size = uint64_t(st.st_size);
    stamp.written = uint64_t(st.st_mtim.tv_sec) * 1000000000u + uint64_t(st.st_mtim.tv_nsec);
    return true;
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

// In name order, as on Windows, so that a folder gives the same findings on every system.
bool ListFiles(const char* folder, const char* suffix, FileVisit visit, void* context) {
    DIR* dir = opendir(Native(*folder ? folder : "./").c_str());
    if (!dir) return false;
    const std::size_t n = std::strlen(suffix);
    std::vector<std::string> names;
    while (dirent* e = readdir(dir)) {
        std::size_t len = std::strlen(e->d_name);
        if (len < n || strcasecmp(e->d_name + len - n, suffix) != 0) continue;
        if (FileExists((std::string(folder) + e->d_name).c_str())) names.push_back(e->d_name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) visit(name.c_str(), context);
    return true;
}

uint32_t WriteFileSafely(const char* name, const char* data, std::size_t size) {
    const std::string target = Native(name), fresh = target + ".new";
    if (access(target.c_str(), F_OK) == 0 && access(target.c_str(), W_OK) != 0) return EACCES;
    errno = 0;
    std::FILE* f = std::fopen(fresh.c_str(), "wb");
    if (!f) return uint32_t(errno);
    bool ok = size == 0 || std::fwrite(data, 1, size, f) == size;
    ok = std::fclose(f) == 0 && ok;
    if (ok && std::rename(fresh.c_str(), target.c_str()) == 0) return 0;
    const int code = errno ? errno : EIO;
    std::remove(fresh.c_str());
    return uint32_t(code);
}
