// The player's turn, started by a click on a move name, and the opponent's answer.
#include "data/database.h"
#include "duel/duel.h"
#include "duel/rules.h"
#include "duel/state.h"

static const char* MoveName(const moves& m, int k) {
    return k == 1 ? m.moveA.str() : k == 2 ? m.moveB.str() : m.moveC.str();
}

static int16_t MoveNumber(const moves& m, int k) {
    return k == 1 ? m.moveValA : k == 2 ? m.moveValB : m.moveValC;
}

void OppGo() {
    canClick = false;
    int k = Random(3);
    ComposeUsed(opp, MoveName(oppMove, k));
    youHP = ApplyDamage(youHP, GetDamage(MoveNumber(oppMove, k)));
    onPaint();
    Wait(1000);
    canClick = true;
}

void onClick(int x, int y) {
    if (!canClick || ending) return;
    int k = ClickedMove(x, y, youMove);
    if (k == 0) return;
    ComposeUsed(you, MoveName(youMove, k));
    oppHP = ApplyDamage(oppHP, GetDamage(MoveNumber(youMove, k)));
    onPaint();
    // A deciding blow has closed the window: the rest of the turn would show nothing.
    if (ending) return;
    Wait(1000);
    OppGo();
}
