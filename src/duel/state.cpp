// Storage of the duel state; everything starts as zero, empty text or false.
#include "duel/state.h"

Text<11> you, opp;
int16_t youNum, oppNum, youTNum, oppTNum;
moves youMove, oppMove;
int16_t youHP, oppHP, youMaxHP, oppMaxHP;

Text<255> msg, msgOld;
bool canClick, showPics;
Text<255> path;

Text<255> s, t;
int16_t r;
uint32_t dummy;

bool ending;
