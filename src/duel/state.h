// The one program-wide duel state, shared by every part of the program.
#pragma once
#include <cstdint>
#include "duel/text.h"

struct moves {
    Text<64> moveA, moveB, moveC;
    int16_t moveValA = 0, moveValB = 0, moveValC = 0;
};

extern Text<11> you, opp;
extern int16_t youNum, oppNum, youTNum, oppTNum;
extern moves youMove, oppMove;
extern int16_t youHP, oppHP, youMaxHP, oppMaxHP;

extern Text<255> msg, msgOld;
extern bool canClick, showPics;
extern Text<255> path;

extern Text<255> s, t;
extern int16_t r;
extern uint32_t dummy;

// Set once the program has begun to end (window destroyed, or the database reported
// missing): from then on nothing waits, draws or opens files.
extern bool ending;
