// The duel screen: names, moves, message line, frames, pictures and hit-point bars.
#include "duel/duel.h"
#include "duel/layout.h"
#include "duel/screen.h"
#include "duel/rules.h"
#include "duel/state.h"

namespace {

const Box kFrames[] = {kOppHPFrame, kOppPictureFrame, kYouHPFrame, kYouPictureFrame};

// The painting's text leaves what lies behind it.
void Say(Point at, const char* text) { ShowText(at.x, at.y, text, false); }

}  // namespace

void onPaint() {
    if (ending) return;  // the program is closing: nothing more is drawn
    BeginPainting();
    if (showPics) {
        Say(kOppName, opp);
        Say(kYouName, you);
    }
    Say(kMoveNames[0], youMove.moveA);
    Say(kMoveNames[1], youMove.moveB);
    Say(kMoveNames[2], youMove.moveC);
    Say(kMessageLine, msg);
    for (const Box& f : kFrames) ShowFrame(f.left, f.top, f.right, f.bottom);
    if (showPics) {
        LoadPic(youNum, Stand::YourCreature, true);
        LoadPic(oppNum, Stand::OppCreature, false);
    }
    EndPainting();

    // What a turn changes is drawn through drawings of its own, so that it shows also
    // when a turn paints outside any request of the system's.
    if (msg != msgOld) {
        UpdateMessage();
        msgOld = msg;
    }
    BeginDrawing();
    ShowBars(kBarBack, Filled(kYouHPFrame, BarLength(youMaxHP, youMaxHP)),
             Filled(kOppHPFrame, BarLength(oppMaxHP, oppMaxHP)));
    ShowBars(kBarFill, Filled(kYouHPFrame, BarLength(youHP, youMaxHP)),
             Filled(kOppHPFrame, BarLength(oppHP, oppMaxHP)));
    EndDrawing();
    CheckEnd();
}
