// Where the duel screen's parts go, in client pixels: right and bottom excluded.
#pragma once
#include "duel/screen.h"

struct Point {
    int x, y;
};
struct Box {
    int left, top, right, bottom;
};

constexpr Point kOppName{450, 10}, kYouName{10, 250}, kMessageLine{200, 400};
constexpr Point kMoveNames[3] = {{200, 300}, {200, 320}, {200, 340}};

// Hit-point frames 102 x 10, picture frames 147 x 140; their insides hold bars and pictures.
constexpr Box kOppHPFrame{450, 25, 552, 35}, kOppPictureFrame{405, 40, 552, 180};
constexpr Box kYouHPFrame{10, 265, 112, 275}, kYouPictureFrame{10, 280, 157, 420};

// The bars' insides, without their lengths.
constexpr Bar kOppBar{451, 26, 34, 0}, kYouBar{11, 266, 274, 0};
constexpr Bar Filled(Bar bar, int length) { return Bar{bar.left, bar.top, bar.bottom, length}; }
constexpr uint32_t kBarBack = 0x00FFFFFF, kBarFill = 0x0000FF00;
