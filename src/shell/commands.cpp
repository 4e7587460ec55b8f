// The menu commands and the About box.
#include "duel/state.h"
#include "gfx/dib.h"
#include "res/resource.h"
#include "shell/win.h"

BOOL onCommand(HWND window, WPARAM wParam) {
    switch (wParam) {
        case IDM_ABOUT:
            DialogBoxParamA(hInst, "AB", window, About, 0);
            return TRUE;
        case IDM_EXIT:
            DestroyWindow(window);
            return TRUE;
        case IDM_CONTENTS:
            s = path;
            s += "quanhelp.hlp";
            WinHelpA(window, s, HELP_CONTENTS, 0);
            return TRUE;
    }
    return FALSE;
}

// The box has no painting of its own: the logo is drawn again at every message.
INT_PTR CALLBACK About(HWND box, UINT message, WPARAM wParam, LPARAM) {
    DrawInstBmp(box, "LOGO", 7, 6);
    if (message != WM_COMMAND) return FALSE;
    if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(box, 1);
    return TRUE;
}
