// The duel's opening scene: the trainers, the challenge, and both creatures sent out.
#include "data/database.h"
#include "data/files.h"
#include "data/picture_name.h"
#include "duel/state.h"
#include "gfx/bitmap.h"
#include "gfx/dib.h"
#include "gfx/places.h"
#include "shell/win.h"

namespace {

const char kNameFill[] = "                   ";  // 19 blanks cover the trainer's longer name

// Draws the trainer picture named in s: the opponent's centred in its frame, the
// player's at the left of its frame, both standing on the frame's bottom line.
void DrawTrainer(bool opponent) {
    if (!FileExists(s)) return;
    Buffer<uint8_t> file;  // read once: for its size and for its pixels
    if (!ReadWholeFile(s, file, kMaxPictureBytes)) return;
    BITMAPINFOHEADER info;
    DIB::GetInfoFrom(file, info);
    int16_t x, y;
    if (TrainerPlace(info.biWidth, info.biHeight, opponent, x, y))
        DIB::DispBmpFrom(hDC, file, x, y, true, false);
}

void Say(int x, int y, const char* text) { TextOutA(hDC, x, y, text, lstrlenA(text)); }

}  // namespace

void onCreate(HWND window) {
    if (ending) return;
    hDC = GetDC(window);
    HFONT nameFont = MakeDuelFont();
    HGDIOBJ oldFont = SelectObject(hDC, nameFont);
    Text<255> line;

    GetTrainer(oppTNum, line);
    if (!ending) Say(450, 10, line);
    GetTrainer(youTNum, line);
    if (!ending) Say(10, 250, line);
    GetTrainer(oppTNum, msg);
    msg += " wants to fight!";
    UpdateMessage(window);
    if (!ending) {
        PictureName(s, "back", youTNum);
        DrawTrainer(false);
        PictureName(s, "t", oppTNum);
        DrawTrainer(true);
    }
    Wait(1500);

    GetTrainer(oppTNum, msg);
    msg += " sent out ";
    msg += opp;
    msg += "!";
    if (!ending) {
        line = opp;
        line += kNameFill;
        Say(450, 10, line);
    }
    UpdateMessage(window);
    if (!ending) {
        Rectangle(hDC, 405, 40, 552, 180);
        LoadPic(oppNum, kOppCreature, false);
    }
    Wait(1500);

    msg = "Go! ";
    msg += you;
    msg += "!";
    msgOld = msg;
    UpdateMessage(window);
    if (!ending) {
        line = you;
        line += kNameFill;
        Say(10, 250, line);
        showPics = true;
        Rectangle(hDC, 10, 280, 157, 420);
        LoadPic(youNum, kYourCreature, true);
    }
    SelectObject(hDC, oldFont);
    DeleteObject(nameFont);
    ReleaseDC(window, hDC);
}
