// The platform handles of the duel state, and the Win32 procedures the parts share.
#pragma once
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <cstdint>

extern HINSTANCE hInst;
extern HWND hWnd;
extern HDC hDC;
extern HFONT font;
extern HRGN youHPrng, oppHPrng;
extern const char* cmd;

// Window procedures and message handlers.
LRESULT CALLBACK MainWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK About(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);
BOOL onCommand(HWND window, WPARAM wParam);

// Lets go of the pictures the screen keeps between repaints.
void ForgetPictures();
