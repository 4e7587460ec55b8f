// Where the duel screen's pictures stand: one table for the game and the data checker.
#pragma once
#include <cstdint>
#include "duel/layout.h"

// The inside of a creature's picture frame: 145 x 138 pixels from (x, y).
struct FrameInside {
    int16_t x, y;
};
constexpr FrameInside kYourCreature{int16_t(kYouPictureFrame.left + 1), int16_t(kYouPictureFrame.top + 1)};
constexpr FrameInside kOppCreature{int16_t(kOppPictureFrame.left + 1), int16_t(kOppPictureFrame.top + 1)};
constexpr int32_t kFrameWidth = kOppPictureFrame.right - kOppPictureFrame.left - 2;
constexpr int32_t kFrameHeight = kOppPictureFrame.bottom - kOppPictureFrame.top - 2;

// The four places a picture can stand.
enum class Stand { YourCreature, OppCreature, YourTrainer, OppTrainer };

// The place to hand DispBmp for a w x h creature picture: bottom-centred in its frame.
bool CreaturePlace(int32_t w, int32_t h, FrameInside frame, int16_t& x, int16_t& y);
// The same for a trainer, standing where the layout says.
bool TrainerPlace(int32_t w, int32_t h, bool opponent, int16_t& x, int16_t& y);
// Either, by where the picture stands. False when it can't be placed in 16-bit coordinates.
bool StandPlace(Stand place, int32_t w, int32_t h, int16_t& x, int16_t& y);
