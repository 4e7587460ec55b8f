// The duel's own procedures: start, opening, turns, message line, pauses, painting, end.
// They draw through the screen of duel/screen.h and never see a window.
#pragma once
#include <cstdint>
#include "gfx/places.h"

// Start-up once the window exists: hit points, settings and names. Then, after the
// window's first painting, clicks are let in and the opening runs unless "skip" is asked.
void PrepareDuel();
void BeginDuel(const char* commandLine);
// Parts of PrepareDuel: both sides at 100 hit points; the six move names and the two
// creature names looked up for the numbers the settings gave.
void FullHitPoints();
void LoadNames();

void onCreate();             // the opening scene
void onPaint();              // the whole duel screen, then the end-of-duel check
void onClick(int x, int y);  // a click at client point (x, y): the player's turn
void OppGo();                // the opponent's answer
void UpdateMessage();        // the message line, drawn at once
void Wait(uint32_t ms);      // a pause that handles no input
void CheckEnd();             // ends the duel when a side has no hit points left

// Draws creature num's picture, path + num + ".bmp", at its place.
void LoadPic(int16_t num, Stand place, bool mirror);
