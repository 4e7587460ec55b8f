// The duel screen's layout, in client pixels, right and bottom excluded: the one table that
// the game, the pixel screen, the checker, the match dialog and the web page go by.
#pragma once
#include <cstdint>

struct Point {
    int x, y;
};
struct Box {
    int left, top, right, bottom;
};

// The client area, as the window is sized at start-up.
constexpr int kScreenWidth = 593, kScreenHeight = 433;

constexpr Point kOppName{450, 10}, kYouName{10, 250}, kMessageLine{200, 400};
// The player's three moves. A click names a move strictly inside its band: right of the
// name's point and left of kLetterWidth pixels a letter further, below its row and above
// kBandHeight rows further.
constexpr Point kMoveNames[3] = {{200, 300}, {200, 320}, {200, 340}};
constexpr int kLetterWidth = 8, kBandHeight = 8;

// Hit-point frames 102 x 10, picture frames 147 x 140; their insides hold bars and pictures.
constexpr Box kOppHPFrame{450, 25, 552, 35}, kOppPictureFrame{405, 40, 552, 180};
constexpr Box kYouHPFrame{10, 265, 112, 275}, kYouPictureFrame{10, 280, 157, 420};

// Where the trainers' pictures stand in the opening, on their frames' bottom lines: the
// opponent's centred over this column, the player's with its left edge on it.
constexpr Point kOppTrainerFoot{478, 178}, kYouTrainerFoot{10, 418};

// A hit-point bar: the inside of its frame, filled from the left end to its length.
struct Bar {
    int left, top, bottom, length;
};
constexpr Bar Filled(const Box& frame, int length) {
    return Bar{frame.left + 1, frame.top + 1, frame.bottom - 1, length};
}
constexpr uint32_t kBarBack = 0x00FFFFFF, kBarFill = 0x0000FF00;
