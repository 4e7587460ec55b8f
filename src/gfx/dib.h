// The bitmap module: reads 24-bit bitmap files and draws them with white see-through.
#pragma once
#include <cstdint>
#include "duel/buffer.h"
#include "shell/win.h"

// The module has its own RGB; the macro of <windows.h> would stand in its way.
#undef RGB

namespace DIB {
COLORREF RGB(int16_t r, int16_t g, int16_t b);
// Fills info from the file's information header; 0 x 0 when the file can't be read.
void GetInfo(const char* name, BITMAPINFOHEADER& info);
// Draws the file so that it fills rows y+1..y+h and columns x+1..x+w (mirrored: x..x+w-1).
void DispBmp(HDC dc, const char* name, int16_t x, int16_t y, bool transparent, bool mirror);
// The same two from a file already read whole, so that one drawing reads it only once.
void GetInfoFrom(const Buffer<uint8_t>& file, BITMAPINFOHEADER& info);
void DispBmpFrom(HDC dc, const Buffer<uint8_t>& file, int16_t x, int16_t y, bool transparent,
                 bool mirror);

// A picture decoded once for the part of within it covers, to be drawn again and again
// with plain copies. Nothing is kept when no pixel of it is drawn.
struct Prepared {
    HBITMAP colour = nullptr;  // black where see-through
    HBITMAP mask = nullptr;    // white where see-through; none when nothing is
    RECT area = {};
};
void Prepare(const Buffer<uint8_t>& file, int16_t x, int16_t y, bool transparent, bool mirror,
             const RECT& within, Prepared& out);
void Draw(HDC dc, const Prepared& picture);
void Forget(Prepared& picture);
}  // namespace DIB

// Copies bitmap resource name of the program into window at (x, y), at its own size.
void DrawInstBmp(HWND window, const char* name, int x, int y);
