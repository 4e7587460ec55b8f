// The literal way of drawing, kept as the benchmark's baseline: one 3-byte ReadFile and
// one SetPixel per pixel.
#pragma once
#include "shell/win.h"

// Draws the 24-bit file into rows y+1..y+h and columns x+1..x+w (mirrored: x..x+w-1).
void LiteralDispBmp(HDC dc, const char* name, int x, int y, bool transparent, bool mirror);
// The duel screen as onPaint draws it, with the pictures drawn the literal way.
void LiteralPaint();
// The pause as first written: reading the tick count again and again until the time is up.
void LiteralWait(uint32_t ms);
