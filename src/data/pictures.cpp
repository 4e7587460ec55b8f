// Creature pictures: path + number + ".bmp", standing bottom-centred in their frame.
#include "data/files.h"
#include "data/picture_name.h"
#include "duel/state.h"
#include "gfx/bitmap.h"
#include "gfx/dib.h"
#include "gfx/places.h"

namespace {

// The picture last drawn in each frame, decoded for the window and kept with its file's
// stamp: a repaint opens the file again only when it has changed (or when the system
// can't tell), and decodes it again only then or when the window's size has changed.
struct Kept {
    Text<255> name;
    FileStamp stamp;
    bool mirror = false;
    RECT within = {};  // the client area it was decoded for
    DIB::Prepared picture;
};
Kept kept[2];  // the player's frame, the opponent's

}  // namespace

void LoadPic(int16_t num, FrameInside frame, bool mirror) {
    Text<255> name;
    PictureName(name, "", num);
    Kept& k = kept[frame.x == kYourCreature.x ? 0 : 1];
    FileStamp stamp;
    if (!FileExists(name, stamp)) return;
    RECT within = {};
    GetClientRect(WindowFromDC(hDC), &within);
    if (!stamp.same(k.stamp) || k.name != name.str() || k.mirror != mirror ||
        !EqualRect(&k.within, &within)) {
        k.stamp = FileStamp();
        DIB::Forget(k.picture);
        Buffer<uint8_t> file;
        if (!ReadWholeFile(name, file, kMaxPictureBytes)) return;
        BITMAPINFOHEADER info;
        DIB::GetInfoFrom(file, info);
        int16_t left, top;
        if (CreaturePlace(info.biWidth, info.biHeight, frame, left, top))
            DIB::Prepare(file, left, top, true, mirror, within, k.picture);
        k.name = name;
        k.stamp = stamp;
        k.mirror = mirror;
        k.within = within;
    }
    DIB::Draw(hDC, k.picture);
}

void ForgetPictures() {
    for (Kept& k : kept) {
        DIB::Forget(k.picture);
        k = Kept();
    }
}
