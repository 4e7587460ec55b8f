// Settings writes: a temporary file, then the swap, with calls that exist on Windows 95.
#include "match/save.h"
#include <shellapi.h>
#include <cstring>

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

DWORD WriteFileSafely(const char* name, const char* data, std::size_t size) {
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

bool CanElevate() {
    DWORD v = GetVersion();
    return !(v & 0x80000000u) && LOBYTE(LOWORD(v)) >= 6;
}

DWORD WriteElevated(const char* data, std::size_t size) {
    char folder[MAX_PATH], temp[MAX_PATH], self[MAX_PATH], args[MAX_PATH + 16];
    if (!GetTempPathA(MAX_PATH, folder) || !GetTempFileNameA(folder, "vor", 0, temp))
        return GetLastError();
    if (DWORD code = WriteNew(temp, data, size)) return code;
    GetModuleFileNameA(NULL, self, MAX_PATH);
    std::strcpy(args, "/save \"");
    std::strcat(args, temp);
    std::strcat(args, "\"");
    SHELLEXECUTEINFOA run = {};
    run.cbSize = sizeof run;
    run.fMask = SEE_MASK_NOCLOSEPROCESS;
    run.lpVerb = "runas";
    run.lpFile = self;
    run.lpParameters = args;
    run.nShow = SW_HIDE;
    DWORD code = 0;
    if (!ShellExecuteExA(&run)) {
        code = GetLastError();
    } else {
        WaitForSingleObject(run.hProcess, INFINITE);
        if (!GetExitCodeProcess(run.hProcess, &code)) code = GetLastError();
        CloseHandle(run.hProcess);
    }
    DeleteFileA(temp);
    return code;
}

bool IsElevatedSave(const char* commandLine, char* file, std::size_t cap) {
    const char* at = std::strstr(commandLine, "/save \"");
    if (!at) return false;
    at += 7;
    const char* end = std::strchr(at, '"');
    if (!end || std::size_t(end - at) >= cap) return false;
    std::memcpy(file, at, std::size_t(end - at));
    file[end - at] = 0;
    return true;
}
