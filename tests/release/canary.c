/* Imports what Windows before Vista lacks, so the import check shows it catches it. */
#define _WIN32_WINNT 0x0600
#include <windows.h>

int main(void) {
    LARGE_INTEGER size;
    GetFileSizeEx(GetStdHandle(STD_INPUT_HANDLE), &size);
    return (int)(GetTickCount64() & 1);
}
