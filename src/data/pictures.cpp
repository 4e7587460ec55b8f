// Creature pictures: path + number + ".bmp", standing bottom-centred in their frame.
#include "data/files.h"
#include "data/picture_name.h"
#include "duel/state.h"
#include "gfx/bitmap.h"
#include "gfx/dib.h"
#include "gfx/places.h"

void LoadPic(int16_t num, FrameInside frame, bool mirror) {
    Text<255> name;
    PictureName(name, "", num);
    if (!FileExists(name)) return;
    Buffer<uint8_t> file;  // read once: for its size and for its pixels
    if (!ReadWholeFile(name, file, kMaxPictureBytes)) return;
    BITMAPINFOHEADER info;
    DIB::GetInfoFrom(file, info);
    int16_t left, top;
    if (CreaturePlace(info.biWidth, info.biHeight, frame, left, top))
        DIB::DispBmpFrom(hDC, file, left, top, true, mirror);
}
