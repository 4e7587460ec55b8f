// Storage of the platform handles of the duel state.
#include "shell/win.h"

HINSTANCE hInst;
HWND hWnd;
HDC hDC;
HFONT font;
HRGN youHPrng, oppHPrng;
const char* cmd;
