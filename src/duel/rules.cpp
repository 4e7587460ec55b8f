// Duel rules that are pure arithmetic and text.
#include "duel/rules.h"
#include <cstring>
#include "duel/layout.h"
#include "duel/screen.h"

int16_t RandomFromTicks(int32_t ticks, int16_t n) {
    if (n < 1) return 1;
    int32_t a = ticks % 100;
    if (a < 0) a += 100;
    int32_t c = (a + 1) * n / 100 + 1;
    return static_cast<int16_t>(c > n ? n : c);
}

int16_t Random(int16_t n) {
    dummy = TickCount();
    return RandomFromTicks(static_cast<int32_t>(dummy), n);
}

// A move name's band: a letter's width per character from its point, its height below it;
// strict bounds.
static bool InBand(int x, int y, Point at, const char* name) {
    int right = at.x + kLetterWidth * static_cast<int>(std::strlen(name));
    return x > at.x && x < right && y > at.y && y < at.y + kBandHeight;
}

int ClickedMove(int x, int y, const moves& m) {
    if (InBand(x, y, kMoveNames[0], m.moveA)) return 1;
    if (InBand(x, y, kMoveNames[1], m.moveB)) return 2;
    if (InBand(x, y, kMoveNames[2], m.moveC)) return 3;
    return 0;
}

int16_t ApplyDamage(int16_t hp, int32_t damage) {
    int64_t left = int64_t(hp) - damage;
    if (left < 0) left = 0;
    if (left > INT16_MAX) left = INT16_MAX;
    return static_cast<int16_t>(left);
}

int BarLength(int16_t hp, int16_t maxHP) {
    int scale = maxHP / 100;
    if (scale < 1) scale = 1;  // full hit points below 100 would divide by zero
    int q = hp / scale;
    if (hp % scale < 0) q--;  // round down for negative values too
    return q;
}

void ComposeUsed(const char* who, const char* move) {
    msg = who;
    msg += " used ";
    msg += move;
    msg += "!";
}

bool WantsSkip(const char* commandLine) {
    char head[255];
    std::strncpy(head, commandLine, 254);
    head[254] = 0;
    return std::strstr(head, "skip") != nullptr;
}
