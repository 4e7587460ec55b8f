// vormatch: the player chooses a match by name; the settings file gets its numbers, and
// the game starts. It reads master.dat and vorrak.ini with the game's own reader.
#include <cstring>
#include <initializer_list>
#include "data/catalog.h"
#include "data/database.h"
#include "data/files.h"
#include "data/lines.h"
#include "data/number.h"
#include "data/picture_name.h"
#include "data/settings.h"
#include "data/settings_write.h"
#include "duel/platform.h"
#include "duel/state.h"
#include "gfx/bitmap.h"
#include "gfx/dib.h"
#include "gfx/places.h"
#include "match/resource.h"
#include "match/save.h"

namespace {

const char kTitle[] = "Choose a Match";
// A settings file this long is no settings file: better to write nothing than to lose its end.
constexpr long long kMaxSettingsBytes = 16ll << 20;
char settingsFile[MAX_PATH];  // vorrak.ini in the Windows directory
char programFolder[MAX_PATH];  // where vormatch.exe and vorrak.exe are, with its backslash
HWND dialog;

// The controls of the ten numbers, in the order of the settings' keys.
const int kNumberControls[kPathSetting] = {IDC_OPP, IDC_YOU, IDC_TRAINERYOU, IDC_TRAINEROPP, IDC_MOVE1,
                                           IDC_MOVE2, IDC_MOVE3, IDC_OPPMOVE1, IDC_OPPMOVE2, IDC_OPPMOVE3};

void Say(const char* text, UINT kind = MB_ICONEXCLAMATION) {
    MessageBoxA(dialog, text, kTitle, MB_OK | kind);
}

// Each move's damage as GetDamage finds it, from one pass over the file: a lookup per move
// would scan the file again for every item of six lists.
Buffer<int32_t> damages;  // by number + 32768; 0 where the lookup finds no number

void AddDamage(int section, int16_t n, const char* value, bool, void*) {
    int32_t damage;
    if (section == kDamage) damages[std::size_t(n + 32768)] = ParseNumber(value, damage) ? damage : 0;
}

int32_t DamageOf(int16_t n) { return damages.empty() ? GetDamage(n) : damages[std::size_t(n + 32768)]; }

// What the game shows for record n of a section, whose record says name: cut as the game
// cuts it.
void ShownText(int section, int16_t n, const char* name, Text<255>& text) {
    text = name;
    if (section == kNames) text.cut(10);
    if (section == kMoves) {
        text.cut(63);
        text += " (damage ";
        text += Num(DamageOf(n));
        text += ")";
    }
}

// The same for a number the database may lack, by the game's own lookups.
void Shown(int section, int16_t n, Text<255>& text) {
    Text<255> name;
    if (section == kNames) GetName(n, name);
    if (section == kTrainers) GetTrainer(n, name);
    if (section == kMoves) GetMove(n, name);
    ShownText(section, n, name, text);
}

// Each record listed goes to the lists of the settings that name its section.
void AddRecord(int section, int16_t n, const char* name, bool own, void*) {
    if (!own || section == kDamage) return;
    Text<255> text;
    ShownText(section, n, name, text);
    for (int k = 0; k < kPathSetting; k++) {
        if (SettingSection(k) != section) continue;
        HWND combo = GetDlgItem(dialog, kNumberControls[k]);
        LRESULT i = SendMessageA(combo, CB_ADDSTRING, 0, LPARAM(text.str()));
        if (i >= 0) SendMessageA(combo, CB_SETITEMDATA, WPARAM(i), LPARAM(n));
    }
}

// Selects number n in setting k's list; a number the list lacks gets an item of its own,
// showing what the game would show for it.
void Select(int k, int16_t n) {
    HWND combo = GetDlgItem(dialog, kNumberControls[k]);
    LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; i++) {
        if (int16_t(SendMessageA(combo, CB_GETITEMDATA, WPARAM(i), 0)) == n) {
            SendMessageA(combo, CB_SETCURSEL, WPARAM(i), 0);
            return;
        }
    }
    Text<255> text;
    Shown(SettingSection(k), n, text);
    text += " (number ";
    text += Num(n);
    text += ")";
    LRESULT i = SendMessageA(combo, CB_ADDSTRING, 0, LPARAM(text.str()));
    SendMessageA(combo, CB_SETITEMDATA, WPARAM(i), LPARAM(n));
    SendMessageA(combo, CB_SETCURSEL, WPARAM(i), 0);
}

int16_t Selected(int control) {
    HWND combo = GetDlgItem(dialog, control);
    LRESULT i = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    return i < 0 ? 0 : int16_t(SendMessageA(combo, CB_GETITEMDATA, WPARAM(i), 0));
}

// A creature's picture as the duel shows it: in its frame, standing at the bottom centre.
void DrawPicture(const DRAWITEMSTRUCT& item) {
    const bool yours = item.CtlID == IDC_YOUPIC;
    RECT all = item.rcItem;
    FillRect(item.hDC, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    Rectangle(item.hDC, 0, 0, kFrameWidth + 2, kFrameHeight + 2);
    Text<255> name;
    PictureName(name, kCreaturePicture, Selected(yours ? IDC_YOU : IDC_OPP));
    Buffer<uint8_t> file;
    if (!FileExists(name) || !ReadWholeFile(name, file, kMaxPictureBytes)) return;
    BITMAPINFOHEADER info;
    DIB::GetInfoFrom(file, info);
    int16_t x, y;
    if (CreaturePlace(info.biWidth, info.biHeight, FrameInside{1, 1}, x, y))
        DIB::DispBmpFrom(item.hDC, file, x, y, true, yours);
}

// A small generator of its own: the game's Random depends on the tick count's last digits.
uint32_t seed;
int Pick(int count) {
    seed = seed * 1103515245u + 12345u;
    return int((seed >> 8) % uint32_t(count));
}

// Picks items of the given controls, all different where the list is long enough.
void PickDifferent(const int* controls, int n) {
    int chosen[3];
    for (int k = 0; k < n; k++) {
        LRESULT count = SendDlgItemMessageA(dialog, controls[k], CB_GETCOUNT, 0, 0);
        if (count <= 0) continue;
        bool clash;
        do {
            chosen[k] = Pick(int(count));
            clash = false;
            for (int j = 0; j < k && count >= n; j++) clash |= chosen[j] == chosen[k];
        } while (clash);
        SendDlgItemMessageA(dialog, controls[k], CB_SETCURSEL, WPARAM(chosen[k]), 0);
    }
}

void RandomMatch() {
    const int creatures[] = {IDC_YOU, IDC_OPP}, trainers[] = {IDC_TRAINERYOU, IDC_TRAINEROPP};
    const int yourMoves[] = {IDC_MOVE1, IDC_MOVE2, IDC_MOVE3};
    const int oppMoves[] = {IDC_OPPMOVE1, IDC_OPPMOVE2, IDC_OPPMOVE3};
    PickDifferent(creatures, 2);
    PickDifferent(trainers, 2);
    PickDifferent(yourMoves, 3);
    PickDifferent(oppMoves, 3);
    InvalidateRect(GetDlgItem(dialog, IDC_YOUPIC), NULL, FALSE);
    InvalidateRect(GetDlgItem(dialog, IDC_OPPPIC), NULL, FALSE);
}

// Saves the chosen numbers; true when the settings file has them.
bool Save() {
    Match match;
    for (int k = 0; k < kPathSetting; k++) match.number[k] = Selected(kNumberControls[k]);
    Buffer<uint8_t> old;
    if (FileExists(settingsFile) &&
        (!ReadWholeFile(settingsFile, old, kMaxSettingsBytes) || old.size() >= kMaxSettingsBytes)) {
        Say("The settings file could not be read whole, so the match was not saved.");
        return false;
    }
    Buffer<char> fresh;
    std::size_t size = 0;
    if (!RewriteSettings(reinterpret_cast<const char*>(old.data()), old.size(), match, path,
                         fresh, size)) {
        Say("There is not enough memory to save the match.");
        return false;
    }
    DWORD code = WriteFileSafely(settingsFile, fresh.data(), size);
    if (code == 0) return true;
    Text<600> text;
    DWORD attributes = GetFileAttributesA(settingsFile);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        text = settingsFile;
        text += " is read-only, so the match was not saved. Clear its read-only attribute "
                "(in its Properties), then save again.";
        Say(text);
        return false;
    }
    text = "Windows did not let this program change ";
    text += settingsFile;
    if (code == ERROR_ACCESS_DENIED && CanElevate()) {
        text += ": that needs administrator rights. Save it with administrator rights?";
        if (MessageBoxA(dialog, text, kTitle, MB_YESNO | MB_ICONQUESTION) != IDYES) return false;
        code = WriteElevated(fresh.data(), size);
        if (code == 0) return true;
        if (code == ERROR_CANCELLED) return false;
        text = "The match could not be saved with administrator rights either (error ";
        text += Num(int32_t(code));
        text += ").";
        Say(text);
        return false;
    }
    text += code == ERROR_ACCESS_DENIED ? ": you need administrator rights for that, so the "
                                          "match was not saved."
                                        : ", so the match was not saved (error ";
    if (code != ERROR_ACCESS_DENIED) {
        text += Num(int32_t(code));
        text += ").";
    }
    Say(text);
    return false;
}

void Play() {
    if (!Save()) return;
    char command[MAX_PATH + 32];
    std::strcpy(command, "\"");
    std::strcat(command, programFolder);
    std::strcat(command, "vorrak.exe\"");
    if (IsDlgButtonChecked(dialog, IDC_SKIP) == BST_CHECKED) std::strcat(command, " skip");
    STARTUPINFOA start = {};
    start.cb = sizeof start;
    PROCESS_INFORMATION game = {};
    if (!CreateProcessA(NULL, command, NULL, NULL, FALSE, 0, NULL, programFolder, &start, &game)) {
        Say("The match was saved, but vorrak.exe could not be started from this program's folder.");
        return;
    }
    CloseHandle(game.hThread);
    CloseHandle(game.hProcess);
    EndDialog(dialog, IDOK);
}

void onInit(HWND box) {
    dialog = box;
    SendMessageA(box, WM_SETICON, ICON_BIG, LPARAM(LoadIconA(hInst, MAKEINTRESOURCEA(IDI_MATCH))));
    // The pictures show at the duel's own size: a frame of 147 x 140 pixels.
    for (int id : {IDC_YOUPIC, IDC_OPPPIC})
        SetWindowPos(GetDlgItem(box, id), NULL, 0, 0, kFrameWidth + 2, kFrameHeight + 2,
                     SWP_NOMOVE | SWP_NOZORDER);
    if (damages.reset(65536)) ListRecords(AddDamage, nullptr);
    ListRecords(AddRecord, nullptr);
    for (int k = 0; k < kPathSetting; k++) Select(k, SettingValue(k));
    seed = GetTickCount();
}

void onCommand(int id, int code) {
    switch (id) {
        case IDOK: Play(); break;
        case IDC_SAVE: Save(); break;
        case IDCANCEL: EndDialog(dialog, IDCANCEL); break;
        case IDC_RANDOM: RandomMatch(); break;
        case IDC_YOU:
        case IDC_OPP:
            if (code == CBN_SELCHANGE)
                InvalidateRect(GetDlgItem(dialog, id == IDC_YOU ? IDC_YOUPIC : IDC_OPPPIC), NULL, FALSE);
            break;
    }
}

INT_PTR CALLBACK MatchProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: onInit(box); return TRUE;
        case WM_DRAWITEM: DrawPicture(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam)); return TRUE;
        case WM_COMMAND: onCommand(LOWORD(wParam), HIWORD(wParam)); return TRUE;
    }
    return FALSE;
}

// The data folder: the settings' Path, or without a settings file (or a Path in it) the
// data folder beside this program.
void FindFolders() {
    GetModuleFileNameA(NULL, programFolder, MAX_PATH);
    if (char* slash = std::strrchr(programFolder, '\\')) slash[1] = 0;
    if (!WindowsDirectory(settingsFile, MAX_PATH - 16)) settingsFile[0] = 0;
    std::strcat(settingsFile, "\\vorrak.ini");
    path = "";
    GetInfo();
    if (path.empty()) {
        path = programFolder;
        path += "data\\";
    }
}

}  // namespace

// The game's platform services, as far as its reader asks for them.
uint32_t TickCount() { return GetTickCount(); }
void Message(const char* text) { Say(text); }
void CloseMainWindow() {}
bool WindowsDirectory(char* buf, std::size_t cap) {
    UINT n = GetWindowsDirectoryA(buf, UINT(cap));
    return n > 0 && n < cap;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    hInst = instance;
    AllowWideScanOnThisSystem();
    FindFolders();
    char file[MAX_PATH];
    if (IsElevatedSave(GetCommandLineA(), file, sizeof file)) {
        Buffer<uint8_t> data;
        if (!ReadWholeFile(file, data, kMaxSettingsBytes) || data.size() >= kMaxSettingsBytes)
            return int(ERROR_READ_FAULT);
        return int(WriteFileSafely(settingsFile, reinterpret_cast<const char*>(data.data()), data.size()));
    }
    Text<255> database;
    database = path;
    database += "master.dat";
    if (!FileExists(database)) {
        Text<600> text;
        text = "Can't find master.dat file! It should be in ";
        text += path;
        text += " (the Path of vorrak.ini, or the data folder beside this program).";
        Say(text);
        return 0;
    }
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MATCH), NULL, MatchProc, 0);
    return 0;
}
