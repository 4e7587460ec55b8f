// The message line drawn at once, and the pauses between the duel's events.
#include "duel/duel.h"
#include "duel/layout.h"
#include "duel/screen.h"
#include "duel/rules.h"
#include "duel/state.h"

static const char kBlanks32[] = "                                ";

void UpdateMessage() {
    if (ending) return;
    BeginDrawing();
    msg += kBlanks32;  // opaque blanks cover what a longer message left behind
    ShowText(kMessageLine.x, kMessageLine.y, msg, true);
    EndDrawing();
}

// Nothing reacts during a pause. The platform is asked to pause for all the time left,
// and asked again only when the tick count says it woke early.
void Wait(uint32_t ms) {
    if (ending) return;
    const uint32_t start = TickCount();
    for (uint32_t now = start; !TimeIsUp(start, now, ms); now = TickCount())
        Pause(ms - (now - start));
}
