// The duel's opening scene: the trainers, the challenge, and both creatures sent out.
#include "data/database.h"
#include "data/picture_name.h"
#include "duel/duel.h"
#include "duel/layout.h"
#include "duel/screen.h"
#include "duel/state.h"

namespace {

const char kNameFill[] = "                   ";  // 19 blanks cover the trainer's longer name

// The opening draws straight onto the window, in the default opaque text.
void Say(Point at, const char* text) { ShowText(at.x, at.y, text, true); }

void Clear(const Box& b) { ShowFrame(b.left, b.top, b.right, b.bottom); }

}  // namespace

void onCreate() {
    if (ending) return;
    BeginDrawing();
    Text<255> line;

    GetTrainer(oppTNum, line);
    if (!ending) Say(kOppName, line);
    GetTrainer(youTNum, line);
    if (!ending) Say(kYouName, line);
    GetTrainer(oppTNum, msg);
    msg += " wants to fight!";
    UpdateMessage();
    if (!ending) {
        PictureName(s, kBackPicture, youTNum);
        ShowPicture(s, Stand::YourTrainer, false);
        PictureName(s, kTrainerPicture, oppTNum);
        ShowPicture(s, Stand::OppTrainer, false);
    }
    Wait(1500);

    GetTrainer(oppTNum, msg);
    msg += " sent out ";
    msg += opp;
    msg += "!";
    if (!ending) {
        line = opp;
        line += kNameFill;
        Say(kOppName, line);
    }
    UpdateMessage();
    if (!ending) {
        Clear(kOppPictureFrame);
        LoadPic(oppNum, Stand::OppCreature, false);
    }
    Wait(1500);

    msg = "Go! ";
    msg += you;
    msg += "!";
    msgOld = msg;
    UpdateMessage();
    if (!ending) {
        line = you;
        line += kNameFill;
        Say(kYouName, line);
        showPics = true;
        Clear(kYouPictureFrame);
        LoadPic(youNum, Stand::YourCreature, true);
    }
    EndDrawing();
}
