// A stand-in platform for the unit tests: records what the core asks of it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace fake {
extern uint32_t ticks;                  // what TickCount returns
extern std::vector<std::string> boxes;  // texts shown by Message
extern int windowCloses;                // calls of CloseMainWindow
extern std::string windowsDir;          // what WindowsDirectory gives; empty = failure
extern std::vector<uint32_t> pauses;    // each Pause asked for, in ms; each moves ticks on
extern void (*duringPause)();           // called in each Pause, as the user acts meanwhile
void Reset();                           // also resets the duel state to its load-time values
}  // namespace fake
