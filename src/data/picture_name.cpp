// Picture file names built from the picture folder and a number.
#include "data/picture_name.h"
#include "data/number.h"
#include "duel/state.h"

void PictureName(Text<255>& name, const char* prefix, int16_t number) {
    char digits[12];
    DecimalText(number, digits);
    name = path;
    name += prefix;
    name += digits;
    name += ".bmp";
}
