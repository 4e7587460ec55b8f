// Picture places on the duel screen.
#include "gfx/places.h"
#include "gfx/bitmap.h"

bool CreaturePlace(int32_t w, int32_t h, FrameInside frame, int16_t& x, int16_t& y) {
    return StandingPlace(w, h, frame.x + 73, frame.y + kFrameHeight, x, y);
}

bool TrainerPlace(int32_t w, int32_t h, bool opponent, int16_t& x, int16_t& y) {
    return opponent ? StandingPlace(w, h, kOppTrainerFoot.x, kOppTrainerFoot.y, x, y)
                    : StandingPlace(0, h, kYouTrainerFoot.x, kYouTrainerFoot.y, x, y);  // left-aligned
}

bool StandPlace(Stand place, int32_t w, int32_t h, int16_t& x, int16_t& y) {
    switch (place) {
        case Stand::YourCreature: return CreaturePlace(w, h, kYourCreature, x, y);
        case Stand::OppCreature: return CreaturePlace(w, h, kOppCreature, x, y);
        case Stand::YourTrainer: return TrainerPlace(w, h, false, x, y);
        case Stand::OppTrainer: return TrainerPlace(w, h, true, x, y);
    }
    return false;
}
