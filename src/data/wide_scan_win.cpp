// Whether this Windows keeps the SSE registers across task switches: the NT line does
// from Windows 2000 on; 95, 98, ME and NT 4.0 are not counted on.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include "data/lines.h"

void AllowWideScanOnThisSystem() {
    DWORD v = GetVersion();
    bool nt = !(v & 0x80000000u);
    AllowWideScan(nt && LOBYTE(LOWORD(v)) >= 5);
}
