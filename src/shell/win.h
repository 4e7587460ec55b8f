// The platform handles of the duel state, and the Win32 procedures the parts share.
#pragma once
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <cstdint>
#include "gfx/places.h"

extern HINSTANCE hInst;
extern HWND hWnd;
extern HDC hDC;
extern HFONT font;
extern HRGN youHPrng, oppHPrng;
extern const char* cmd;

// Window procedures and message handlers.
LRESULT CALLBACK MainWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK About(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);
void onPaint(HWND window);
void onClick(WPARAM wParam, LPARAM lParam);
BOOL onCommand(HWND window, WPARAM wParam);
void onCreate(HWND window);

// Duel pacing and the end of the duel.
void UpdateMessage(HWND window);
void Wait(DWORD ms);
void CheckEnd(HWND window);
void OppGo();

// The duel font: every text of the duel screen uses it.
HFONT MakeDuelFont();
// The screen's four frames into dc, and both hit-point bars through a context of their own.
void DrawFrames(HDC dc);
void DrawBars(HWND window);

// Draws creature num's picture into hDC, standing in the given frame.
void LoadPic(int16_t num, FrameInside frame, bool mirror);
// Lets go of the pictures LoadPic keeps between repaints.
void ForgetPictures();
