// Program entry, start-up, the main window and its message loop.
#include "shell/win.h"
#include <windowsx.h>
#include "data/lines.h"
#include "duel/duel.h"
#include "duel/layout.h"
#include "duel/state.h"
#include "res/resource.h"

static const char kClassName[] = "MQVorrakClass";

// Client point the window's bottom-right corner is moved to once at start-up.
static const POINT kClientCorner = {kScreenWidth, kScreenHeight};

static BOOL InitApplication(HINSTANCE instance, int show) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = MainWndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, "QUANDORICON");
    wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszMenuName = "MENU_0";
    wc.lpszClassName = kClassName;
    if (!RegisterClassA(&wc)) return FALSE;

    hInst = instance;
    LoadStringA(instance, IDS_TITLE, s.c, 50);
    hWnd = CreateWindowExA(WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE, kClassName, s,
                           WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, NULL, NULL, instance,
                           NULL);
    if (!hWnd) return FALSE;
    ShowWindow(hWnd, show);

    POINT corner = kClientCorner;
    ClientToScreen(hWnd, &corner);
    RECT frame;
    GetWindowRect(hWnd, &frame);
    SetWindowPos(hWnd, HWND_TOP, frame.left, frame.top, corner.x - frame.left,
                 corner.y - frame.top, 0);

    PrepareDuel();
    UpdateWindow(hWnd);  // the first painting, still without names and pictures
    BeginDuel(cmd);
    return TRUE;
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: ending ? (void)ValidateRect(window, NULL) : onPaint(); break;
        case WM_LBUTTONUP: onClick(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); break;
        case WM_DESTROY: ending = true; ForgetPictures(); PostQuitMessage(0); break;
        case WM_COMMAND: onCommand(window, wParam); return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    hInst = instance;
    AllowWideScanOnThisSystem();
    cmd = GetCommandLineA();  // the whole line, the program's own path included
    if (!InitApplication(instance, show)) return 0;
    MSG m;
    while (GetMessageA(&m, NULL, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    return static_cast<int>(m.wParam);
}
