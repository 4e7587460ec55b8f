// Creature pictures: path + number + ".bmp", standing bottom-centred in their frame.
#include "data/picture_name.h"
#include "duel/duel.h"
#include "duel/screen.h"

void LoadPic(int16_t num, Stand place, bool mirror) {
    Text<255> name;
    PictureName(name, kCreaturePicture, num);
    ShowPicture(name, place, mirror);
}
