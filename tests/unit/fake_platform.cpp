// The stand-in platform of the unit tests.
#include "fake_platform.h"
#include <cstring>
#include "duel/platform.h"
#include "duel/screen.h"
#include "duel/state.h"

namespace fake {
uint32_t ticks;
std::vector<std::string> boxes;
int windowCloses;
std::string windowsDir;
std::vector<uint32_t> pauses;
void (*duringPause)();

void Reset() {
    ticks = 0;
    boxes.clear();
    windowCloses = 0;
    windowsDir.clear();
    pauses.clear();
    duringPause = nullptr;
    you = "";
    opp = "";
    youNum = oppNum = youTNum = oppTNum = 0;
    youMove = moves{};
    oppMove = moves{};
    youHP = oppHP = youMaxHP = oppMaxHP = 0;
    msg = "";
    msgOld = "";
    canClick = showPics = false;
    path = "";
    ending = false;
}
}  // namespace fake

uint32_t TickCount() { return fake::ticks; }
void Message(const char* text) { fake::boxes.push_back(text); }
void CloseMainWindow() {
    fake::windowCloses++;
    ending = true;
}
void Pause(uint32_t ms) {
    fake::pauses.push_back(ms);
    fake::ticks += ms;
    if (fake::duringPause) fake::duringPause();
}

bool WindowsDirectory(char* buf, std::size_t cap) {
    if (fake::windowsDir.empty() || fake::windowsDir.size() >= cap) return false;
    std::strcpy(buf, fake::windowsDir.c_str());
    return true;
}

// The data checker's: names as the tests give them, in UTF-8.
extern const bool kUtf8Names = true;
