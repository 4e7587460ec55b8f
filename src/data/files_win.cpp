// The file operations on Win32: read-only opens that share reading and writing.
#include "data/files.h"
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

// The platform's error as a status code that can't be mistaken for success or the end.
static int16_t ErrorStatus() {
    int16_t code = static_cast<int16_t>(GetLastError());
    return (code == kStatusOk || code == kStatusEnd || code == kStatusCut) ? -1 : code;
}

// The attributes tell as much as a directory search, at a fraction of its cost; and a name
// with wildcards in it is no file.
bool FileExists(const char* name) {
    DWORD attributes = GetFileAttributesA(name);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Windows 95 has no GetFileAttributesExA: there no stamp is known, and files are read anew.
using AttributesEx = BOOL(WINAPI*)(LPCSTR, GET_FILEEX_INFO_LEVELS, LPVOID);
static AttributesEx attributesEx = nullptr;
static bool attributesExLooked = false;

bool FileExists(const char* name, FileStamp& stamp) {
    stamp = FileStamp();
    if (!attributesExLooked) {
        attributesExLooked = true;
        if (HMODULE kernel = GetModuleHandleA("kernel32.dll"))
            attributesEx = reinterpret_cast<AttributesEx>(
                reinterpret_cast<void*>(GetProcAddress(kernel, "GetFileAttributesExA")));
    }
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!attributesEx || !attributesEx(name, GetFileExInfoStandard, &data)) return FileExists(name);
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
    stamp.known = true;
    stamp.size = (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    stamp.written = (uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32) |
                    data.ftLastWriteTime.dwLowDateTime;
    return true;
}

FileHandle OpenForReading(const char* name, int16_t& status) {
    HANDLE h = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (h == INVALID_HANDLE_VALUE) {
        status = ErrorStatus();
        return nullptr;
    }
    status = 0;
    return h;
}

long ReadBlock(FileHandle f, char* buf, long cap, int16_t& status) {
    DWORD got = 0;
    if (!ReadFile(static_cast<HANDLE>(f), buf, static_cast<DWORD>(cap), &got, NULL)) {
        status = ErrorStatus();
        return -1;
    }
    status = 0;
    return static_cast<long>(got);
}

// GetFileSize, unlike GetFileSizeEx, exists on every 32-bit Windows.
long long FileLength(FileHandle f) {
    DWORD high = 0;
    DWORD low = GetFileSize(static_cast<HANDLE>(f), &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return -1;
    return (static_cast<long long>(high) << 32) | low;
}

void CloseFile(FileHandle f) { CloseHandle(static_cast<HANDLE>(f)); }

bool ListFiles(const char* folder, const char* suffix, FileVisit visit, void* context) {
    char pattern[MAX_PATH];
    if (lstrlenA(folder) + lstrlenA(suffix) + 2 > MAX_PATH) return false;
    lstrcpyA(pattern, folder);
    lstrcatA(pattern, "*");
    lstrcatA(pattern, suffix);
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA(pattern, &found);
    if (h == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) visit(found.cFileName, context);
    } while (FindNextFileA(h, &found));
    FindClose(h);
    return true;
}
