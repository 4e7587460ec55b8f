// The duel's screen: what the duel does on it, and the little it asks of its platform.
// Each front end provides these in files of its own: the Windows window over GDI
// (shell/screen_win.cpp) and a pixel buffer (gfx/pixel_screen.cpp, whose host supplies
// the last four).
#pragma once
#include <cstdint>
#include "duel/layout.h"
#include "gfx/places.h"

// A painting redraws what the system asks to have redrawn, on a cleared background;
// a drawing draws at once, over what is there. Each is begun and ended; they may nest.
void BeginPainting();
void EndPainting();
void BeginDrawing();
void EndDrawing();

// Text in the duel font, its top left corner at (x, y): over what lies behind it, or
// opaque, on white character cells.
void ShowText(int x, int y, const char* text, bool opaque);
// A black frame one pixel wide with a white inside; right and bottom excluded.
void ShowFrame(int left, int top, int right, int bottom);
// Both hit-point bars filled with one colour (red + 256 green + 65536 blue), each from
// its left end to its length in pixels.
void ShowBars(uint32_t colour, const Bar& you, const Bar& opp);
// A picture file at a creature's or a trainer's place, white see-through; nothing
// when there is no such file.
void ShowPicture(const char* file, Stand place, bool mirror);

// The program's only message box: modal, titled "Message", one OK button.
void Message(const char* text);
// Destroys the main window and posts the quit message with exit code 0.
void CloseMainWindow();
// The millisecond tick count, wrapping at 2^32.
uint32_t TickCount();
// Lets about ms milliseconds pass without handling input: clicks made meanwhile wait.
void Pause(uint32_t ms);
