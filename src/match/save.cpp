// Settings writes with administrator rights, where Windows asks for them.
#include "match/save.h"
#include "data/files.h"
#include <shellapi.h>
#include <cstring>

bool CanElevate() {
    DWORD v = GetVersion();
    return !(v & 0x80000000u) && LOBYTE(LOWORD(v)) >= 6;
}

DWORD WriteElevated(const char* data, std::size_t size) {
    char folder[MAX_PATH], temp[MAX_PATH], self[MAX_PATH], args[MAX_PATH + 16];
    if (!GetTempPathA(MAX_PATH, folder) || !GetTempFileNameA(folder, "vor", 0, temp))
        return GetLastError();
    if (DWORD code = WriteFileSafely(temp, data, size)) return code;
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
