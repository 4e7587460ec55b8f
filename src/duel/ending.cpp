// The end of the duel: announce the winner, pause, close the window.
#include "data/database.h"
#include "duel/state.h"
#include "shell/win.h"

static void Finish(HWND window, bool playerLost) {
    Wait(500);
    if (playerLost) {
        GetTrainer(oppTNum, msg);
        msg += " won!";
    } else {
        msg = "You won again!";
    }
    UpdateMessage(window);
    Wait(2000);
    ending = true;
    dummy = DestroyWindow(window);
    PostQuitMessage(0);
}

void CheckEnd(HWND window) {
    if (ending) return;
    if (youHP == 0) Finish(window, true);
    if (oppHP == 0 && !ending) Finish(window, false);
}
