// The start-up's part once the main window exists: the duel set up, then begun.
#include "data/database.h"
#include "data/settings.h"
#include "duel/duel.h"
#include "duel/rules.h"
#include "duel/state.h"

// Both sides' three moves, then both creatures: asked together, read in one pass.
void LoadNames() {
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

void FullHitPoints() {
    youMaxHP = 100;
    youHP = youMaxHP;
    oppMaxHP = 100;
    oppHP = oppMaxHP;
}

void PrepareDuel() {
    FullHitPoints();
    GetInfo();
    LoadNames();
}

void BeginDuel(const char* commandLine) {
    canClick = true;
    if (!WantsSkip(commandLine)) onCreate();
}
