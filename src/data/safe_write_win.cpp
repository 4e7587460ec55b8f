// Whole files replaced safely on Win32: a temporary file, then the swap, with calls that exist
// on Windows 95. Apart from the reading calls, so that the game, which writes nothing, has none.
#include "data/files.h"
#include <cstring>
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

static DWORD WriteNew(const char* name, const char* data, std::size_t size) {
    HANDLE h = CreateFileA(name, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (h == INVALID_HANDLE_VALUE) return GetLastError();
    DWORD written = 0;
    BOOL ok = WriteFile(h, data, DWORD(size), &written, NULL) && written == size;
    DWORD code = ok ? 0 : GetLastError();
    if (!CloseHandle(h) && ok) code = GetLastError();
    if (ok && code == 0) return 0;
    DeleteFileA(name);
    return code ? code : ERROR_WRITE_FAULT;
}

uint32_t WriteFileSafely(const char* name, const char* data, std::size_t size) {
    char fresh[MAX_PATH + 8];
    if (std::strlen(name) + 5 > MAX_PATH) return ERROR_FILENAME_EXCED_RANGE;
    std::strcpy(fresh, name);
    std::strcat(fresh, ".new");
    // A read-only file stays, whoever asks: don't even leave the new one beside it.
    DWORD attributes = GetFileAttributesA(name);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return ERROR_ACCESS_DENIED;
    if (DWORD code = WriteNew(fresh, data, size)) return code;
    if (MoveFileExA(fresh, name, MOVEFILE_REPLACE_EXISTING)) return 0;
    DWORD code = GetLastError();
    if (code == ERROR_CALL_NOT_IMPLEMENTED) {  // Windows 95, 98 and ME: no replacing move
        if (attributes == INVALID_FILE_ATTRIBUTES || DeleteFileA(name)) {
            if (MoveFileA(fresh, name)) return 0;
        }
        code = GetLastError();
    }
    DeleteFileA(fresh);
    return code;
}
