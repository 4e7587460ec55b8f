// The duel's rules that need no window: chance, click bands, damage, bars, messages.
#pragma once
#include <cstdint>
#include "duel/state.h"

// 1 to n from a tick count: (t mod 100 + 1) * n / 100 + 1, never more than n.
int16_t RandomFromTicks(int32_t ticks, int16_t n);
// The same from the system's tick count, which is kept in dummy.
int16_t Random(int16_t n);

// Which of the player's moves (1 to 3) a click at (x, y) names, or 0 for none.
int ClickedMove(int x, int y, const moves& m);

// Hit points after a blow, kept within 0..32767.
int16_t ApplyDamage(int16_t hp, int32_t damage);

// A hit-point bar's length in pixels: hp DIV (maxHP DIV 100).
int BarLength(int16_t hp, int16_t maxHP);

// "<who> used <move>!" into msg.
void ComposeUsed(const char* who, const char* move);

// True when "skip" stands within the first 254 characters of the command line.
bool WantsSkip(const char* commandLine);

// True once ms milliseconds have passed between two tick readings, across a wrap too.
inline bool TimeIsUp(uint32_t start, uint32_t now, uint32_t ms) { return now - start >= ms; }
