// The page's studio, in the checker's module: the core's writer of records and pictures over
// a draft in the in-memory file system, and a picture shown in its frame as the game draws it.
#include <emscripten.h>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include "data/catalog.h"
#include "data/files.h"
#include "data/folder_write.h"
#include "data/picture_name.h"
#include "data/records.h"
#include "data/windows1252.h"
#include "duel/screen.h"
#include "duel/state.h"
#include "gfx/bitmap_write.h"
#include "gfx/pixel_screen.h"

namespace {

Said said;                        // what the last edit did, or why it was refused
char saidUtf8[3 * sizeof said + 1];
Buffer<uint8_t> image;            // the image the page hands over: red, green, blue, alpha

constexpr int kFrameW = kOppPictureFrame.right - kOppPictureFrame.left;
constexpr int kFrameH = kOppPictureFrame.bottom - kOppPictureFrame.top;
static_assert(kYouPictureFrame.right - kYouPictureFrame.left == kFrameW &&
              kYouPictureFrame.bottom - kYouPictureFrame.top == kFrameH, "both frames are one size");
uint32_t framed[kFrameW * kFrameH];  // a frame's pixels, cut out of the pixel screen

// Why an edit was refused, as the page reads it; false, for the caller to return.
bool Refuse(const char* why) {
    said = why;
    return false;
}

// The next character of UTF-8 text, or 0xFFFD for a broken sequence.
uint32_t NextCharacter(const unsigned char*& p) {
    const int length = *p < 0x80 ? 1 : *p >> 5 == 6 ? 2 : *p >> 4 == 14 ? 3 : *p >> 3 == 30 ? 4 : 0;
    if (!length) return p++, 0xFFFD;
    uint32_t c = length == 1 ? *p : *p & (0x7F >> length);
    for (int k = 1; k < length; k++) {
        if (p[k] >> 6 != 2) return p++, 0xFFFD;
        c = c << 6 | (p[k] & 0x3F);
    }
    p += length;
    return c;
}

// What the author typed, in the game's Windows-1252; refused at the first character that
// has no byte there.
bool ToWindows1252(const char* utf8, Buffer<char>& out) {
    if (!out.reset(std::strlen(utf8) + 1)) return Refuse("not enough memory");
    std::size_t n = 0;
    for (auto p = reinterpret_cast<const unsigned char*>(utf8); *p;) {
        const uint32_t c = NextCharacter(p);
        int byte = 1;
        while (byte < 256 && Windows1252ToUnicode(static_cast<unsigned char>(byte)) != c) byte++;
        if (byte == 256) {
            Refuse("the game's text is Windows-1252, which has no character ");
            char shown[8] = "U+";
            for (int k = 0; k < 4; k++) shown[2 + k] = "0123456789ABCDEF"[c >> (12 - 4 * k) & 15];
            said += c > 0xFFFF ? "beyond U+FFFF" : shown;
            said += ": use another";
            return false;
        }
        out[n++] = char(byte);
    }
    return true;
}

bool Number16(int number) {
    return number >= INT16_MIN && number <= INT16_MAX ? true : Refuse("the number is not one from -32768 to 32767");
}

// Whether the section holds a record of its own for n: only then is there one to remove.
bool HasOwn(int section, int16_t n) {
    struct Looking {
        int section;
        int16_t n;
        bool found;
    } looking{section, n, false};
    ListRecords([](int s, int16_t number, const char*, bool own, void* context) {
        auto* l = static_cast<Looking*>(context);
        l->found |= own && s == l->section && number == l->n;
    }, &looking);
    return looking.found;
}

}  // namespace

extern "C" {

// Sets a record (text, in UTF-8) or removes it (no text) in folder + "master.dat": 1 when
// written, 2 when there was no record to remove, 0 when refused (studio_said says why).
EMSCRIPTEN_KEEPALIVE int studio_record(const char* folder, const char* section, int number, const char* text) {
    said = "";
    Buffer<char> name;
    const int s = SectionNamed(section);
    if (s < 0) return Refuse("there is no such section");
    if (!Number16(number) || (text && !ToWindows1252(text, name))) return 0;
    path = folder;
    if (!text && !HasOwn(s, int16_t(number))) return 2;
    return WriteRecord(folder, RecordEdit{s, int16_t(number), text ? name.data() : nullptr}, said);
}

// Room for an image of size bytes, which the page fills before studio_picture; null when
// memory is short.
EMSCRIPTEN_KEEPALIVE uint8_t* studio_image(int size) {
    return size > 0 && image.reset(std::size_t(size)) ? image.data() : nullptr;
}

// The picture of a creature or trainer from the w x h image handed over: 1 when written.
EMSCRIPTEN_KEEPALIVE int studio_picture(const char* folder, const char* kind, int number, int w, int h) {
    said = "";
    const int k = PictureKindNamed(kind);
    if (k < 0) return Refuse("there is no such kind of picture");
    if (int64_t(w) * h * 4 != int64_t(image.size())) return Refuse("the image's pixels were not all handed over");
    const bool written = Number16(number) && WritePicture(folder, PictureKind(k), int16_t(number), image.data(), w, h, said);
    image.clear();  // it may be hundreds of megabytes
    return written;
}

// The file name of a kind's picture for a number, as the game looks for it.
EMSCRIPTEN_KEEPALIVE const char* studio_picture_file(const char* kind, int number) {
    static Text<255> name;
    const int k = PictureKindNamed(kind);
    if (k < 0 || !Number16(number)) return "";
    PictureFile(name, kPicturePrefix[k], int16_t(number));
    return name;
}

// A kind's picture for a number drawn in the frame it stands in, as the game draws it there
// (a creature as the opponent's, which is how its file stores it), into the bitmap file out:
// 1 when the picture is there, 2 when the frame is empty, 0 when out can't be written.
EMSCRIPTEN_KEEPALIVE int studio_frame(const char* folder, const char* kind, int number, const char* out) {
    const int k = PictureKindNamed(kind);
    if (k < 0 || !Number16(number)) return 0;
    const Stand stands[3] = {Stand::OppCreature, Stand::OppTrainer, Stand::YourTrainer};
    const Box frame = PictureKind(k) == PictureKind::Back ? kYouPictureFrame : kOppPictureFrame;
    path = folder;
    Text<255> file;
    PictureName(file, kPicturePrefix[k], int16_t(number));
    BeginDrawing();
    ShowFrame(frame.left, frame.top, frame.right, frame.bottom);
    ShowPicture(file, stands[k], false);
    EndDrawing();
    for (int y = 0; y < kFrameH; y++)
        std::memcpy(framed + y * kFrameW, screenPixels + (frame.top + y) * kScreenWidth + frame.left,
                    sizeof framed / kFrameH);
    Buffer<uint8_t> bmp;
    std::FILE* f = EncodeBmp(framed, kFrameW, kFrameH, bmp) ? std::fopen(out, "wb") : nullptr;
    if (!f) return 0;
    const bool written = std::fwrite(bmp.data(), 1, bmp.size(), f) == bmp.size();
    return std::fclose(f) == 0 && written ? FileExists(file) ? 1 : 2 : 0;
}

EMSCRIPTEN_KEEPALIVE const char* studio_said() {
    Windows1252TextToUtf8(said, saidUtf8, sizeof saidUtf8);
    return saidUtf8;
}
}
