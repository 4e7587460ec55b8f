// The end of the duel: announce the winner, pause, close the window.
#include "data/database.h"
#include "duel/duel.h"
#include "duel/screen.h"
#include "duel/state.h"

static void Finish(bool playerLost) {
    Wait(500);
    if (playerLost) {
        GetTrainer(oppTNum, msg);
        msg += " won!";
    } else {
        msg = "You won again!";
    }
    UpdateMessage();
    Wait(2000);
    CloseMainWindow();
}

void CheckEnd() {
    if (ending) return;
    if (youHP == 0) Finish(true);
    if (oppHP == 0 && !ending) Finish(false);
}
