// Creature pictures: path + number + ".bmp", standing bottom-centred in their frame.
#include "data/files.h"
#include "data/picture_name.h"
#include "duel/state.h"
#include "gfx/bitmap.h"
#include "gfx/dib.h"
#include "gfx/places.h"

namespace {

// The file last drawn in each frame, kept with its stamp: a repaint opens the file again
// only when it has changed, or when the system can't tell. Opening a file costs more than
// decoding and drawing the picture.
struct Kept {
    Text<255> name;
    FileStamp stamp;
    Buffer<uint8_t> file;
};
Kept kept[2];  // the player's frame, the opponent's

}  // namespace

void LoadPic(int16_t num, FrameInside frame, bool mirror) {
    Text<255> name;
    PictureName(name, "", num);
    Kept& k = kept[frame.x == kYourCreature.x ? 0 : 1];
    FileStamp stamp;
    if (!FileExists(name, stamp)) return;
    if (!stamp.same(k.stamp) || k.name != name.str()) {
        k.stamp = FileStamp();
        if (!ReadWholeFile(name, k.file, kMaxPictureBytes)) return;
        k.name = name;
        k.stamp = stamp;
    }
    const Buffer<uint8_t>& file = k.file;
    BITMAPINFOHEADER info;
    DIB::GetInfoFrom(file, info);
    int16_t left, top;
    if (CreaturePlace(info.biWidth, info.biHeight, frame, left, top))
        DIB::DispBmpFrom(hDC, file, left, top, true, mirror);
}
