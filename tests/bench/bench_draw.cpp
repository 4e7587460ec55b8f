// Drawing benchmark under Wine: bench_draw [folder]. Times the picture drawing and the
// full duel-screen repaint against the literal way. Without a folder it writes its own
// two pictures, 1.bmp and 2.bmp, into a temporary one.
#include <cstdio>
#include <string>
#include <vector>
#include "duel/duel.h"
#include "duel/layout.h"
#include "duel/screen.h"
#include "duel/state.h"
#include "data/database.h"
#include "data/files.h"
#include "data/lines.h"
#include "gfx/bitmap.h"
#include "gfx/dib.h"
#include "literal_lookup.h"
#include "literal_paint.h"
#include "table.h"

namespace {

constexpr int kWidth = 145, kHeight = 138;
constexpr int kWarmUp = 5;
constexpr int kOursReps = 200;
constexpr int kLiteralReps = 50;  // the literal way is slow enough that fewer calls suffice

// A shaded blob on white, so that about half the pixels are see-through.
bool WritePicture(const std::string& name) {
    const int pad = (4 - (3 * kWidth) % 4) % 4;
    const int stride = 3 * kWidth + pad;
    std::vector<unsigned char> f(54 + std::size_t(stride) * kHeight, 0);
    auto put32 = [&](std::size_t at, unsigned v) {
        for (int i = 0; i < 4; i++) f[at + i] = static_cast<unsigned char>(v >> (8 * i));
    };
    f[0] = 'B';
    f[1] = 'M';
    put32(2, unsigned(f.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, kWidth);
    put32(22, kHeight);
    f[26] = 1;
    f[28] = 24;
    for (int row = 0; row < kHeight; row++) {
        for (int col = 0; col < kWidth; col++) {
            double dx = (col - kWidth / 2.0) / (kWidth * 0.45);
            double dy = (row - kHeight / 2.0) / (kHeight * 0.45);
            bool inside = dx * dx + dy * dy < 1;
            unsigned char* p = &f[54 + std::size_t(row) * stride + 3 * std::size_t(col)];
            p[0] = inside ? static_cast<unsigned char>(40 + row) : 255;  // blue
            p[1] = inside ? static_cast<unsigned char>(60 + col) : 255;  // green
            p[2] = inside ? 180 : 255;                                   // red
        }
    }
    FILE* out = std::fopen(name.c_str(), "wb");
    if (!out) return false;
    bool ok = std::fwrite(f.data(), 1, f.size(), out) == f.size();
    return std::fclose(out) == 0 && ok;
}

HWND MakeWindow() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = hInst;
    wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = "VorrakBenchClass";
    if (!RegisterClassA(&wc)) return NULL;
    const DWORD style = WS_OVERLAPPEDWINDOW;
    RECT r = {0, 0, 600, 460};
    AdjustWindowRect(&r, style, FALSE);
    HWND w = CreateWindowExA(0, wc.lpszClassName, "Benchmark", style, 40, 40,
                             r.right - r.left, r.bottom - r.top, NULL, NULL, hInst, NULL);
    if (!w) return NULL;
    ShowWindow(w, SW_SHOW);
    UpdateWindow(w);
    return w;
}

void PumpMessages() {
    MSG m;
    while (PeekMessageA(&m, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
}

// Milliseconds per call of work over reps calls, after a few calls left untimed.
template <typename Work>
double MsPerCall(int reps, Work work, int warmUp = kWarmUp) {
    for (int i = 0; i < warmUp; i++) {
        work();
        GdiFlush();
    }
    LARGE_INTEGER freq, start, end;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < reps; i++) {
        work();
        GdiFlush();  // nothing of this call may stay queued for the next one
    }
    QueryPerformanceCounter(&end);
    PumpMessages();
    return 1000.0 * double(end.QuadPart - start.QuadPart) / double(freq.QuadPart) / reps;
}

// True when one call of work, on a cleared window, leaves the picture's middle pixel
// at (x, y) of the window: a timing of drawing that never reached the window is no timing.
template <typename Work>
bool Drew(int x, int y, Work work) {
    HDC dc = GetDC(hWnd);
    RECT all = {0, 0, 600, 460};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    work();
    GdiFlush();
    // WritePicture's colour at column 72 of stored row 69
    bool ok = GetPixel(dc, x, y) == DIB::RGB(180, 60 + 72, 40 + 69);
    ReleaseDC(hWnd, dc);
    return ok;
}

// The pause as it was before: waits of at most 10 ms, the tick count read after each.
void SlicedWait(uint32_t ms) {
    const DWORD start = GetTickCount();
    for (DWORD now = start; now - start < ms; now = GetTickCount()) {
        DWORD left = ms - (now - start);
        MsgWaitForMultipleObjects(0, NULL, FALSE, left < 10 ? left : 10, 0);
    }
}

// Milliseconds of processor time, user and kernel, the process has used. Wine counts them
// in steps of 10 ms, so a pause is timed over many.
double ProcessCpuMs() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& t) {
        return double((uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

// The processor time one pause of a second takes, over thirty of them.
double PauseCpu(void (*pause)(uint32_t)) {
    constexpr int kPauses = 30;
    const double before = ProcessCpuMs();
    for (int i = 0; i < kPauses; i++) pause(1000);
    return (ProcessCpuMs() - before) / kPauses;
}

// A master.dat of about the given size: filler moves first, the duel's records at the end,
// so that each of the start-up's lookups reads nearly all of it.
bool WriteDatabase(const std::string& name, std::size_t size) {
    std::string text = "[Moves]\r\n";
    for (int k = 1000; text.size() + 160 < size; k++)
        text += std::to_string(k) + "=Filler move number " + std::to_string(k) + "\r\n";
    text += "1=Ember Claw\r\n2=Stone Skin\r\n3=Tail Sweep\r\n[Names]\r\n001 Aster\r\n002 Brume\r\n";
    FILE* out = std::fopen(name.c_str(), "wb");
    if (!out) return false;
    bool ok = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    return std::fclose(out) == 0 && ok;
}

// The start-up's eight names, as the game asks them: both sides' three moves, then both
// creatures, in one pass.
void StartUpNames() {
    Text<64> moves[6];
    Text<11> creatures[2];
    const int16_t numbers[] = {1, 2, 3, 1, 2, 3};
    NameLookup names[8];
    for (int i = 0; i < 6; i++) names[i] = {kMoves, numbers[i], moves[i].c, sizeof moves[i]};
    for (int i = 0; i < 2; i++)
        names[6 + i] = {kNames, int16_t(1 + i), creatures[i].c, sizeof creatures[i]};
    GetNames(names, 8);
}

// The same names as eight lookups one after another, as every lookup in a duel is made.
void EightLookups() {
    Text<255> name;
    for (int16_t move : {1, 2, 3, 1, 2, 3}) GetMove(move, name);
    Text<11> creature;
    GetName(1, creature);
    GetName(2, creature);
}

// The platform's floor under a lookup: the open and the reads, no scan.
void ReadsOnly() {
    static char block[kBlockBytes];
    Text<255> name;
    name = path;
    name += "master.dat";
    int16_t status;
    if (!FileExists(name)) return;
    FileHandle f = OpenForReading(name, status);
    if (!f) return;
    while (ReadBlock(f, block, kBlockBytes, status) > 0) {
    }
    CloseFile(f);
}

void LiteralStartUpLookups() {
    Text<255> name;
    for (int16_t move : {1, 2, 3, 1, 2, 3}) LiteralLookup("[Moves]", false, move, name);
    LiteralLookup("[Names]", true, 1, name);
    LiteralLookup("[Names]", true, 2, name);
}

void SetUpDuel(const std::string& folder) {
    path = folder.c_str();
    youNum = 1;
    oppNum = 2;
    showPics = true;
    youHP = oppHP = youMaxHP = oppMaxHP = 100;  // nobody has lost: the end check does nothing
    you = "Aster";
    opp = "Brume";
    youMove.moveA = "Ember Claw";
    youMove.moveB = "Stone Skin";
    youMove.moveC = "Tail Sweep";
    msg = "Brume used Tail Sweep!";
    msgOld = msg;
}

}  // namespace

int main(int argc, char** argv) {
    hInst = GetModuleHandleA(NULL);
    AllowWideScanOnThisSystem();  // as the game's start does
    std::string folder;
    bool own = argc < 2;
    if (own) {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "vorrak-bench-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder.c_str(), NULL);
    } else {
        folder = argv[1];
    }
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    const std::string picture = folder + "1.bmp";
    if (own && (!WritePicture(picture) || !WritePicture(folder + "2.bmp"))) {
        std::fprintf(stderr, "bench_draw: can't write the pictures into %s\n", folder.c_str());
        return 1;
    }
    SetUpDuel(folder);
    hWnd = MakeWindow();
    if (!hWnd) {
        std::fprintf(stderr, "bench_draw: can't make the window\n");
        return 1;
    }
    PumpMessages();

    HDC dc = GetDC(hWnd);
    const char* name = picture.c_str();
    auto ourPicture = [&] { DIB::DispBmp(dc, name, 406, 41, true, false); };
    auto literalPicture = [&] { LiteralDispBmp(dc, name, 406, 41, true, false); };
    // InvalidateRect first, so that BeginPaint has the whole client area, as after a restore.
    auto ourScreen = [] { InvalidateRect(hWnd, NULL, TRUE); onPaint(); };
    auto literalScreen = [] { InvalidateRect(hWnd, NULL, TRUE); LiteralPaint(); };

    // Only the pictures written here are known well enough to be checked.
    bool drew = !own || (Drew(479, 110, ourPicture) && Drew(479, 110, literalPicture) &&
                         Drew(480, 110, ourScreen) && Drew(480, 110, literalScreen));
    if (drew) {
        double pictureOurs = MsPerCall(kOursReps, ourPicture);
        double pictureLiteral = MsPerCall(kLiteralReps, literalPicture);
        double screenOurs = MsPerCall(kOursReps, ourScreen);
        double screenLiteral = MsPerCall(kLiteralReps, literalScreen);
        PrintTableHeader();
        PrintTableRow("One picture, 145 x 138, drawn on the window", pictureOurs, pictureLiteral);
        PrintTableRow("Full duel-screen repaint (two pictures)", screenOurs, screenLiteral);
        // Where a repaint's time goes, part by part.
        std::printf("\n| Repaint, part by part | ms |\n|---|---:|\n");
        auto part = [](const char* what, double ms) { std::printf("| %s | %.3f |\n", what, ms); };
        part("FileExists of a picture", MsPerCall(kOursReps, [&] { FileExists(name); }));
        part("The same, telling its stamp (all a repaint asks of a kept picture)",
             MsPerCall(kOursReps, [&] {
                 FileStamp stamp;
                 FileExists(name, stamp);
             }));
        part("LoadPic of a kept picture (a repaint's)", MsPerCall(kOursReps, [&] {
            hDC = dc;
            LoadPic(2, Stand::OppCreature, false);
        }));
        part("Open and close a picture", MsPerCall(kOursReps, [&] {
            int16_t st;
            if (FileHandle f = OpenForReading(name, st)) CloseFile(f);
        }));
        part("DIB::GetInfo", MsPerCall(kOursReps, [&] {
            BITMAPINFOHEADER info;
            DIB::GetInfo(name, info);
        }));
        part("DIB::DispBmp", MsPerCall(kOursReps, ourPicture));
        Buffer<uint8_t> file;
        ReadWholeFile(name, file, kMaxPictureBytes);
        part("Reading the picture whole", MsPerCall(kOursReps, [&] {
            Buffer<uint8_t> again;
            ReadWholeFile(name, again, kMaxPictureBytes);
        }));
        part("Decoding it", MsPerCall(kOursReps, [&] {
            BmpFile bmp;
            ReadBmpHeaders(file.data(), file.size(), bmp);
            Decoded d;
            DecodeBmp(bmp, 406, 41, true, false, Rect{0, 0, 600, 460}, d);
        }));
        part("Decoding it and masking it in (DIB::DispBmpFrom)",
             MsPerCall(kOursReps, [&] { DIB::DispBmpFrom(dc, file, 406, 41, true, false); }));
        part("Erase only: InvalidateRect, BeginPaint, EndPaint", MsPerCall(kOursReps, [] {
            InvalidateRect(hWnd, NULL, TRUE);
            PAINTSTRUCT ps;
            BeginPaint(hWnd, &ps);
            EndPaint(hWnd, &ps);
        }));
        part("A drawing begun and ended, with its font made for one text", MsPerCall(kOursReps, [] {
            BeginDrawing();
            ShowText(200, 300, "", false);
            EndDrawing();
        }));
        part("Six texts in the duel font", MsPerCall(kOursReps, [] {
            BeginDrawing();
            for (int i = 0; i < 6; i++) ShowText(200, 300 + 20 * i, "Tail Sweep", false);
            EndDrawing();
        }));
        part("Frames", MsPerCall(kOursReps, [] {
            BeginDrawing();
            for (const Box& f : {kOppHPFrame, kOppPictureFrame, kYouHPFrame, kYouPictureFrame})
                ShowFrame(f.left, f.top, f.right, f.bottom);
            EndDrawing();
        }));
        part("Bars", MsPerCall(kOursReps, [] {
            BeginDrawing();
            ShowBars(kBarBack, Filled(kYouHPFrame, 100), Filled(kOppHPFrame, 100));
            ShowBars(kBarFill, Filled(kYouHPFrame, 37), Filled(kOppHPFrame, 37));
            EndDrawing();
        }));
        std::printf("\n");

        // The start-up's database work, with a tiny database and with a large one.
        const std::string database = folder + "master.dat";
        for (std::size_t size : {std::size_t(100), std::size_t(1) << 20}) {
            if (!WriteDatabase(database, size)) break;
            Text<255> check;
            GetMove(3, check);
            if (check != "Tail Sweep") break;
            double ours = MsPerCall(size > 1000 ? 50 : 500, StartUpNames);
            // A second or more a call: once, the file being in the cache from the calls above.
            double literal = MsPerCall(size > 1000 ? 1 : 50, LiteralStartUpLookups, size > 1000 ? 0 : 5);
            PrintTableRow(size > 1000 ? "Start-up's eight names, 1 MB master.dat"
                                      : "Start-up's eight names, 100-byte master.dat",
                          ours, literal);
            if (size > 1000) {
                PrintTableRow("The same as eight lookups one after another",
                              MsPerCall(50, EightLookups), literal);
                PrintTableRow("One open and read of the file without a scan (the floor)",
                              MsPerCall(200, ReadsOnly), literal);
            }
        }
        DeleteFileA(database.c_str());

        // The processor time the game takes while a pause of one second runs.
        std::printf("\n| CPU time during a 1000 ms pause | ms |\n|---|---:|\n");
        part("Ours: one wait for the time that is left", PauseCpu(Wait));
        part("Before: a wait of at most 10 ms at a time", PauseCpu(SlicedWait));
        part("The literal way: the tick count read until the time is up", PauseCpu(LiteralWait));
    } else {
        std::fprintf(stderr, "bench_draw: a picture did not reach the window\n");
    }
    ReleaseDC(hWnd, dc);

    DestroyWindow(hWnd);
    PumpMessages();
    if (own) {
        DeleteFileA((folder + "1.bmp").c_str());
        DeleteFileA((folder + "2.bmp").c_str());
        RemoveDirectoryA(folder.c_str());
    }
    return drew ? 0 : 1;
}
