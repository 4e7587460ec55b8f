// The duel's screen as a buffer of pixels: what the Windows program shows, but for its
// text, which is drawn in a pixel font of our own. Its host provides the message box,
// the closing of the window, the ticks and the pause.
#pragma once
#include <cstdint>
#include "duel/layout.h"

// The client area, row by row from the top, each pixel red + 256 green + 65536 blue with
// 255 in the top byte: in memory its bytes go red, green, blue, 255.
extern uint32_t screenPixels[kScreenWidth * kScreenHeight];

// Asks for the whole screen to be redrawn at the next painting, as a window shown anew.
void InvalidateScreen();
