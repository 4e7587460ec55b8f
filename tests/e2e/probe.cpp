// A small helper of the end-to-end tests: finds the game's windows and asks them things.
//   probe window MS           wait for the main window; prints "hwnd x y w h" of its client area
//   probe idle MS             wait until the game handles messages again; prints "idle"
//   probe gone MS             wait until the main window no longer exists; prints "gone"
//   probe find TITLE MS       wait for a top-level window titled TITLE; prints "hwnd x y w h"
//   probe texts HWND          prints the texts of the window's children, one a line
//   probe post HWND MSG WPARAM  posts a message
//   probe count TITLE         prints how many top-level windows have that title
//   probe lock FILE MS        holds FILE open with no sharing for MS milliseconds
//   probe style               prints the main window's style, extended style and title
// Every probe says "probe: started" on stderr first. A wait that ends at its deadline
// exits with 1 after a line "last seen: ..." saying how things stood then.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <psapi.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

static HWND Main() { return FindWindowA("MQVorrakClass", NULL); }

static void PrintClient(HWND w) {
    RECT rc;
    GetClientRect(w, &rc);
    POINT origin = {0, 0};
    ClientToScreen(w, &origin);
    std::printf("%lu %ld %ld %ld %ld\n", (unsigned long)(UINT_PTR)w, origin.x, origin.y,
                rc.right, rc.bottom);
}

template <class Done>
static bool Until(DWORD ms, Done done) {
    DWORD start = GetTickCount();
    for (;;) {
        if (done()) return true;
        if (GetTickCount() - start > ms) return false;
        Sleep(20);
    }
}

static const char* title;
static int found;
static HWND foundWindow;
static BOOL CALLBACK CountTitled(HWND w, LPARAM) {
    char text[256];
    GetWindowTextA(w, text, sizeof text);
    if (IsWindowVisible(w) && std::strcmp(text, title) == 0) {
        found++;
        foundWindow = w;
    }
    return TRUE;
}
static int Titled(const char* t) {
    title = t;
    found = 0;
    EnumWindows(CountTitled, 0);
    return found;
}

// A visible top-level window with a child whose text holds the given words.
static const char* words;
static HWND holder;
static BOOL CALLBACK ChildHolds(HWND w, LPARAM) {
    char text[1024];
    GetWindowTextA(w, text, sizeof text);
    if (std::strstr(text, words)) return FALSE;
    return TRUE;
}
static BOOL CALLBACK TopHolds(HWND w, LPARAM) {
    if (IsWindowVisible(w) && !EnumChildWindows(w, ChildHolds, 0)) {
        holder = w;
        return FALSE;
    }
    return TRUE;
}

// The visible top-level windows' titles, for a wait that found none of the one it wanted.
static char seenTitles[1024];
static BOOL CALLBACK AddTitle(HWND w, LPARAM) {
    char text[128];
    if (!IsWindowVisible(w) || !GetWindowTextA(w, text, sizeof text)) return TRUE;
    const size_t used = std::strlen(seenTitles);
    if (used + std::strlen(text) + 5 < sizeof seenTitles)
        std::sprintf(seenTitles + used, "%s\"%s\"", used ? ", " : "", text);
    return TRUE;
}
static int LastSeen(const char* what) {
    seenTitles[0] = 0;
    EnumWindows(AddTitle, 0);
    std::printf("last seen: %s; visible windows: %s\n", what, seenTitles[0] ? seenTitles : "none");
    std::fflush(stdout);
    return 1;
}
static const char* MainState() {
    HWND w = Main();
    return !w ? "no main window" : !IsWindowVisible(w) ? "the main window, hidden" : "the main window";
}

static BOOL CALLBACK PrintText(HWND w, LPARAM) {
    char text[512];
    GetWindowTextA(w, text, sizeof text);
    std::printf("%s\n", text);
    return TRUE;
}

int main(int argc, char** argv) {
    std::fprintf(stderr, "probe: started\n");
    std::fflush(stderr);
    if (argc < 2) return 2;
    const char* what = argv[1];
    DWORD ms = argc > 2 ? std::strtoul(argv[argc - 1], NULL, 10) : 0;
    if (!std::strcmp(what, "window")) {
        // Start-up resizes the window once after showing it: wait until it holds still.
        RECT last = {}, now;
        int still = 0;
        bool ok = Until(ms, [&] {
            HWND w = Main();
            if (!w || !IsWindowVisible(w)) return false;
            GetWindowRect(w, &now);
            still = EqualRect(&now, &last) ? still + 1 : 0;
            last = now;
            return still >= 5;
        });
        if (!ok) return LastSeen(Main() && still < 5 && IsWindowVisible(Main())
                                     ? "the main window, still moving" : MainState());
        PrintClient(Main());
    } else if (!std::strcmp(what, "idle")) {
        bool ok = Until(ms, [] {
            DWORD_PTR result;
            HWND w = Main();
            return w && SendMessageTimeoutA(w, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 50, &result);
        });
        if (!ok) return LastSeen(Main() ? "the main window, busy" : "no main window");
        std::printf("idle\n");
    } else if (!std::strcmp(what, "gone")) {
        if (!Until(ms, [] { return Main() == NULL; })) return LastSeen(MainState());
        std::printf("gone\n");
    } else if (!std::strcmp(what, "find") && argc > 3) {
        const char* t = argv[2];
        if (!Until(ms, [t] { return Titled(t) > 0; })) return LastSeen(MainState());
        PrintClient(foundWindow);
    } else if (!std::strcmp(what, "lock") && argc > 3) {
        HANDLE f = CreateFileA(argv[2], GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
        if (f == INVALID_HANDLE_VALUE) return 1;
        std::printf("locked\n");
        std::fflush(stdout);
        Sleep(ms);
        CloseHandle(f);
    } else if (!std::strcmp(what, "style")) {
        HWND w = Main();
        if (!w) return 1;
        char text[256];
        GetWindowTextA(w, text, sizeof text);
        std::printf("%08lx %08lx %s\n", (unsigned long)GetWindowLongA(w, GWL_STYLE),
                    (unsigned long)GetWindowLongA(w, GWL_EXSTYLE), text);
    } else if (!std::strcmp(what, "holding") && argc > 3) {
        // The window showing the given words, such as a message box.
        words = argv[2];
        holder = NULL;
        if (!Until(ms, [] { EnumWindows(TopHolds, 0); return holder != NULL; }))
            return LastSeen(MainState());
        PrintClient(holder);
    } else if (!std::strcmp(what, "items") && argc > 3) {
        // The items of a dialog's combo box, one a line.
        HWND combo = GetDlgItem((HWND)(UINT_PTR)std::strtoul(argv[2], NULL, 10), std::atoi(argv[3]));
        LRESULT n = SendMessageA(combo, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < n; i++) {
            // Across processes only the wide form arrives whole.
            wchar_t wide[512] = L"";
            char text[1024] = "";
            if (SendMessageW(combo, CB_GETLBTEXTLEN, WPARAM(i), 0) < 512)
                SendMessageW(combo, CB_GETLBTEXT, WPARAM(i), LPARAM(wide));
            WideCharToMultiByte(1252, 0, wide, -1, text, sizeof text, NULL, NULL);
            std::printf("%s\n", text);
        }
    } else if (!std::strcmp(what, "memory")) {
        // The game's peak working set so far, in bytes.
        DWORD pid = 0;
        HWND w = Main();
        if (!w) return 1;
        GetWindowThreadProcessId(w, &pid);
        HANDLE p = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
        PROCESS_MEMORY_COUNTERS pmc = {};
        pmc.cb = sizeof pmc;
        bool ok = p && GetProcessMemoryInfo(p, &pmc, sizeof pmc);
        if (p) CloseHandle(p);
        if (!ok) return 1;
        std::printf("%lu %lu\n", (unsigned long)pmc.PeakWorkingSetSize, (unsigned long)pmc.WorkingSetSize);
    } else if (!std::strcmp(what, "version")) {
        OSVERSIONINFOA v = {};
        v.dwOSVersionInfoSize = sizeof v;
        if (!GetVersionExA(&v)) return 1;
        std::printf("%lu.%lu %lu\n", v.dwMajorVersion, v.dwMinorVersion, v.dwPlatformId);
    } else if (!std::strcmp(what, "count") && argc > 2) {
        std::printf("%d\n", Titled(argv[2]));
    } else if (!std::strcmp(what, "texts") && argc > 2) {
        EnumChildWindows((HWND)(UINT_PTR)std::strtoul(argv[2], NULL, 10), PrintText, 0);
    } else if (!std::strcmp(what, "repaint") && argc > 2) {
        HWND w = (HWND)(UINT_PTR)std::strtoul(argv[2], NULL, 10);
        if (!InvalidateRect(w, NULL, TRUE) || !UpdateWindow(w)) return 1;
    } else if (!std::strcmp(what, "grow") && argc > 4) {  // grow <hwnd> <dx> <dy>
        HWND w = (HWND)(UINT_PTR)std::strtoul(argv[2], NULL, 10);
        RECT r;
        if (!GetWindowRect(w, &r)) return 1;
        const int width = r.right - r.left + std::atoi(argv[3]);
        const int height = r.bottom - r.top + std::atoi(argv[4]);
        SetWindowPos(w, NULL, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (!std::strcmp(what, "post") && argc > 4) {
        PostMessageA((HWND)(UINT_PTR)std::strtoul(argv[2], NULL, 10),
                     (UINT)std::strtoul(argv[3], NULL, 0), (WPARAM)std::strtoul(argv[4], NULL, 0), 0);
    } else {
        return 2;
    }
    std::fflush(stdout);
    return 0;
}
