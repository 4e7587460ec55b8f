// The Windows screen's pictures. A creature's picture is kept decoded between repaints;
// a trainer's, drawn once, is decoded straight onto the window.
#include "data/files.h"
#include "duel/screen.h"
#include "duel/state.h"
#include "gfx/bitmap.h"
#include "gfx/dib.h"
#include "shell/win.h"

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

void ShowCreature(const char* name, Stand place, bool mirror) {
    Kept& k = kept[place == Stand::YourCreature ? 0 : 1];
    FileStamp stamp;
    if (!FileExists(name, stamp)) return;
    RECT within = {};
    GetClientRect(WindowFromDC(hDC), &within);
    if (!stamp.same(k.stamp) || k.name != name || k.mirror != mirror ||
        !EqualRect(&k.within, &within)) {
        k.stamp = FileStamp();
        DIB::Forget(k.picture);
        Buffer<uint8_t> file;
        if (!ReadWholeFile(name, file, kMaxPictureBytes)) return;
        BITMAPINFOHEADER info;
        DIB::GetInfoFrom(file, info);
        int16_t left, top;
        if (StandPlace(place, info.biWidth, info.biHeight, left, top))
            DIB::Prepare(file, left, top, true, mirror, within, k.picture);
        k.name = name;
        k.stamp = stamp;
        k.mirror = mirror;
        k.within = within;
    }
    DIB::Draw(hDC, k.picture);
}

void ShowTrainer(const char* name, Stand place, bool mirror) {
    if (!FileExists(name)) return;
    Buffer<uint8_t> file;  // read once: for its size and for its pixels
    if (!ReadWholeFile(name, file, kMaxPictureBytes)) return;
    BITMAPINFOHEADER info;
    DIB::GetInfoFrom(file, info);
    int16_t x, y;
    if (StandPlace(place, info.biWidth, info.biHeight, x, y))
        DIB::DispBmpFrom(hDC, file, x, y, true, mirror);
}

}  // namespace

void ShowPicture(const char* file, Stand place, bool mirror) {
    if (place == Stand::YourCreature || place == Stand::OppCreature)
        ShowCreature(file, place, mirror);
    else
        ShowTrainer(file, place, mirror);
}

void ForgetPictures() {
    for (Kept& k : kept) {
        DIB::Forget(k.picture);
        k = Kept();
    }
}
