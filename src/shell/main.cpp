// Program entry, start-up, the main window and its message loop.
#include "data/database.h"
#include "data/lines.h"
#include "data/settings.h"
#include "duel/rules.h"
#include "duel/state.h"
#include "res/resource.h"
#include "shell/win.h"

static const char kClassName[] = "MQVorrakClass";

// Client point the window's bottom-right corner is moved to once at start-up.
static const POINT kClientCorner = {593, 433};

// Both sides' three moves, then both creatures: asked together, read in one pass.
static void LoadNames() {
    const NameLookup names[] = {
        {kMoves, youMove.moveValA, youMove.moveA.c, sizeof youMove.moveA},
        {kMoves, youMove.moveValB, youMove.moveB.c, sizeof youMove.moveB},
        {kMoves, youMove.moveValC, youMove.moveC.c, sizeof youMove.moveC},
        {kMoves, oppMove.moveValA, oppMove.moveA.c, sizeof oppMove.moveA},
        {kMoves, oppMove.moveValB, oppMove.moveB.c, sizeof oppMove.moveB},
        {kMoves, oppMove.moveValC, oppMove.moveC.c, sizeof oppMove.moveC},
        {kNames, youNum, you.c, sizeof you},
        {kNames, oppNum, opp.c, sizeof opp},
    };
    GetNames(names, int(sizeof names / sizeof names[0]));
}

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

    youMaxHP = 100;
    youHP = youMaxHP;
    oppMaxHP = 100;
    oppHP = oppMaxHP;
    GetInfo();
    LoadNames();
    UpdateWindow(hWnd);

    canClick = true;
    if (!WantsSkip(cmd)) onCreate(hWnd);
    return TRUE;
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: onPaint(window); break;
        case WM_LBUTTONUP: onClick(wParam, lParam); break;
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
