// The pictures as the game draws them: what it reads of each file and where it lands.
#include <algorithm>
#include <cstring>
#include "check/check.h"
#include "check/report.h"
#include "data/files.h"
#include "data/picture_name.h"
#include "duel/buffer.h"
#include "duel/state.h"
#include "gfx/bitmap.h"
#include "gfx/places.h"

namespace {

enum class Use { YourCreature, OppCreature, YourTrainer, OppTrainer, Unused };
const char* const kUseNames[] = {"your creature", "the opponent's creature", "your trainer",
                                 "the opponent's trainer", "no use"};

// What the checker learnt of one picture, for the summary and the JSON.
struct Seen {
    Text<64> file;
    Use use;
    int32_t width, height;
    Rect place;
    int32_t seeThroughTenths;  // share of see-through white, in tenths of a percent
};
constexpr std::size_t kMaxSeen = 1024;
Buffer<Seen> seen;
std::size_t seenCount;

uint32_t U32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t U16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

void Say(Severity severity, const char* file, const char* text) {
    Report(severity, PlaceOf(file, 0), text);
}

// The header faults that make the game draw the wrong thing; true when it draws at all.
bool CheckHeaders(const char* file, const Buffer<uint8_t>& data, const BmpFile& bmp) {
    Sentence s;
    if (data[0] != 'B' || data[1] != 'M') {
        Say(Severity::Error, file,
            "not a Windows bitmap (it does not start with \"BM\"): the game reads it as one "
            "all the same and draws noise");
        return bmp.width > 0 && bmp.height > 0;
    }
    const uint16_t bits = U16(&data[28]);
    const uint32_t compression = U32(&data[30]), offset = U32(&data[10]);
    if (bits != 24) {
        s = "a ";
        s += Num(bits);
        s += "-bit picture: the game reads every picture as 24-bit and draws noise; save it "
             "as 24-bit";
        Say(Severity::Error, file, s);
    } else if (compression != 0) {
        Say(Severity::Error, file,
            "compressed: the game reads only uncompressed pixels and draws noise; save it "
            "uncompressed");
    } else if (offset != kBmpHeaders) {
        s = "its pixels start at byte ";
        s += Num(int32_t(offset));
        s += ", but the game reads them from byte 54: the picture comes out shifted";
        Say(Severity::Error, file, s);
    }
    if (bmp.width <= 0 || bmp.height <= 0) {
        s = "width ";
        s += Num(bmp.width);
        s += ", height ";
        s += Num(bmp.height);
        s += bmp.height < 0 ? " (stored top row first): nothing is drawn; save it bottom row first"
                            : ": nothing is drawn";
        Say(Severity::Error, file, s);
        return false;
    }
    const int64_t row = 3 * int64_t(bmp.width);
    const int64_t rounded = (4 - row % 4) % 4;
    const int64_t padding = RowPadding(bmp.bfSize, bmp.width, bmp.height);
    if (padding != rounded) {
        s = "its size field says ";
        s += Num(int32_t(bmp.bfSize));
        s += " bytes, but its pixels take ";
        s += Num(int32_t(std::min<int64_t>(INT32_MAX, kBmpHeaders + (row + rounded) * bmp.height)));
        s += ": the game takes the row padding from that field (";
        s += Num(int32_t(std::min<int64_t>(INT32_MAX, padding)));
        s += " bytes instead of ";
        s += Num(int32_t(rounded));
        s += "), so the picture shears";
        Say(Severity::Error, file, s);
    }
    const int64_t rowsHeld = (int64_t(data.size()) - int64_t(kBmpHeaders)) / bmp.stride;
    if (rowsHeld < bmp.height) {
        s = "the file has ";
        s += Num(int32_t(data.size()));
        s += " bytes, too few for its ";
        s += Num(bmp.height);
        s += " rows: its top ";
        s += Num(int32_t(bmp.height - std::max<int64_t>(rowsHeld, 0)));
        s += " rows are drawn in part or not at all";
        Say(Severity::Error, file, s);
    }
    return true;
}

// Tenths of a percent of the pixels the file holds that are exactly white.
int32_t SeeThrough(const BmpFile& bmp) {
    int64_t white = 0, held = 0;
    for (int64_t k = 0; k < bmp.height; k++) {
        int64_t start = int64_t(kBmpHeaders) + k * bmp.stride;
        for (int64_t j = 0; j < bmp.width; j++) {
            int64_t at = start + 3 * j;
            if (at + 3 > int64_t(bmp.size)) return held ? int32_t(white * 1000 / held) : 0;
            const uint8_t* p = bmp.data + at;
            held++;
            white += RGB24(p[2], p[1], p[0]) == kWhite;
        }
    }
    return held ? int32_t(white * 1000 / held) : 0;
}

void CheckPicture(const char* file, Use use, bool needed) {
    Text<255> full;
    full = path;
    full += file;
    if (!FileExists(full)) {
        if (needed) {
            Sentence s;
            s = "missing: nothing is drawn for ";
            s += kUseNames[int(use)];
            Say(Severity::Error, file, s);
        }
        return;
    }
    Buffer<uint8_t> data;
    BmpFile bmp;
    if (!ReadWholeFile(full, data, kMaxPictureBytes)) {
        Say(Severity::Error, file, "can't be read: nothing is drawn");
        return;
    }
    if (!ReadBmpHeaders(data.data(), data.size(), bmp)) {
        Sentence s;
        s = "has only ";
        s += Num(int32_t(data.size()));
        s += " bytes, fewer than a bitmap's 54 bytes of headers: nothing is drawn";
        Say(Severity::Error, file, s);
        return;
    }
    if (!CheckHeaders(file, data, bmp) || use == Use::Unused) return;

    const bool creature = use == Use::YourCreature || use == Use::OppCreature;
    if (creature && (bmp.width > kFrameWidth || bmp.height > kFrameHeight)) {
        Sentence s;
        s = Num(bmp.width);
        s += " x ";
        s += Num(bmp.height);
        s += " is bigger than the 145 x 138 frame: it covers the frame's border and beyond";
        Say(Severity::Warning, file, s);
    }
    int16_t x, y;
    bool placed = creature ? CreaturePlace(bmp.width, bmp.height,
                                           use == Use::YourCreature ? kYourCreature : kOppCreature, x, y)
                           : TrainerPlace(bmp.width, bmp.height, use == Use::OppTrainer, x, y);
    if (!placed) {
        Say(Severity::Error, file, "so big that its place lies outside the screen: nothing is drawn");
        return;
    }
    if (seen.empty() && !seen.reset(kMaxSeen)) return;
    if (seenCount == kMaxSeen) return;
    Seen& v = seen[seenCount++];
    v.file = file;
    v.use = use;
    v.width = bmp.width;
    v.height = bmp.height;
    v.place = Placement(bmp.width, bmp.height, x, y, use == Use::YourCreature);
    v.seeThroughTenths = SeeThrough(bmp);
}

// True when a record of the database names this picture, as the game finds it.
bool IsNeeded(const char* file) {
    Text<255> name;
    for (int i = 0; i < RecordCount(kNames); i++) {
        PictureFile(name, kCreaturePicture, RecordNumber(kNames, i));
        if (SameFileName(name, file)) return true;
    }
    for (int i = 0; i < RecordCount(kTrainers); i++) {
        PictureFile(name, kTrainerPicture, RecordNumber(kTrainers, i));
        if (SameFileName(name, file)) return true;
        PictureFile(name, kBackPicture, RecordNumber(kTrainers, i));
        if (SameFileName(name, file)) return true;
    }
    return false;
}

void VisitFolderPicture(const char* file, void*) {
    if (IsNeeded(file)) return;
    Say(Severity::Warning, file,
        "no record names this picture, so the game never draws it (creature N is N.bmp, "
        "trainer N is tN.bmp and backN.bmp, in decimal without leading zeros)");
    CheckPicture(file, Use::Unused, false);
}

void PicturesOf(int16_t number, const char* prefix, Use use) {
    Text<255> name;
    PictureFile(name, prefix, number);
    CheckPicture(name, use, true);
}

}  // namespace

void ResetPictures() { seenCount = 0; }

void CheckPictures(const CheckOptions& options, bool named) {
    ResetPictures();
    if (named) {
        PicturesOf(youNum, kCreaturePicture, Use::YourCreature);
        PicturesOf(oppNum, kCreaturePicture, Use::OppCreature);
        PicturesOf(youTNum, kBackPicture, Use::YourTrainer);
        PicturesOf(oppTNum, kTrainerPicture, Use::OppTrainer);
    }
    if (!options.all) return;
    for (int i = 0; i < RecordCount(kNames); i++) {
        int16_t n = RecordNumber(kNames, i);
        if (!named || n != youNum) PicturesOf(n, kCreaturePicture, Use::YourCreature);
    }
    for (int i = 0; i < RecordCount(kTrainers); i++) {
        int16_t n = RecordNumber(kTrainers, i);
        if (!named || n != youTNum) PicturesOf(n, kBackPicture, Use::YourTrainer);
        if (!named || n != oppTNum) PicturesOf(n, kTrainerPicture, Use::OppTrainer);
    }
    ListFiles(path, ".bmp", VisitFolderPicture, nullptr);
}

void PrintPictures() {
    for (std::size_t i = 0; i < seenCount; i++) {
        const Seen& v = seen[i];
        Print(v.file);
        Print(": ");
        PrintNumber(v.width);
        Print(" x ");
        PrintNumber(v.height);
        Print(", as ");
        Print(kUseNames[int(v.use)]);
        Print(" at columns ");
        PrintNumber(int32_t(v.place.left));
        Print("-");
        PrintNumber(int32_t(v.place.right - 1));
        Print(", rows ");
        PrintNumber(int32_t(v.place.top));
        Print("-");
        PrintNumber(int32_t(v.place.bottom - 1));
        Print("; ");
        PrintNumber(v.seeThroughTenths / 10);
        Print(".");
        PrintNumber(v.seeThroughTenths % 10);
        Print("% see-through white\n");
    }
}

void PrintPicturesJson() {
    Print("\"pictures\": [");
    for (std::size_t i = 0; i < seenCount; i++) {
        const Seen& v = seen[i];
        Print(i ? ",\n    {\"file\": " : "\n    {\"file\": ");
        PrintJsonName(v.file);
        Print(", \"use\": ");
        PrintJson(kUseNames[int(v.use)]);
        Print(", \"width\": ");
        PrintNumber(v.width);
        Print(", \"height\": ");
        PrintNumber(v.height);
        Print(", \"left\": ");
        PrintNumber(int32_t(v.place.left));
        Print(", \"top\": ");
        PrintNumber(int32_t(v.place.top));
        Print(", \"right\": ");
        PrintNumber(int32_t(v.place.right));
        Print(", \"bottom\": ");
        PrintNumber(int32_t(v.place.bottom));
        Print(", \"seeThroughPercent\": ");
        PrintNumber(v.seeThroughTenths / 10);
        Print(".");
        PrintNumber(v.seeThroughTenths % 10);
        Print("}");
    }
    Print(seenCount ? "\n  ]" : "]");
}
