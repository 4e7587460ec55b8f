// The writer over files: read whole, edited in memory, written beside and swapped in.
#include "data/folder_write.h"
#include <cstring>
#include "data/files.h"
#include "data/number.h"
#include "gfx/picture_make.h"

namespace {

// A master.dat this large is edited by hand: reading it whole would take too much memory.
constexpr long long kMaxDatabaseBytes = 64ll << 20;

bool Refuse(Said& said, const char* why, const char* name = "") {
    said = why;
    said += name;
    return false;
}

bool FileName(const char* folder, const char* file, Text<255>& name, Said& said) {
    if (std::strlen(folder) + std::strlen(file) > 254) return Refuse(said, "the folder's name is too long");
    name = folder;
    name += file;
    return true;
}

bool Write(const char* name, const char* data, std::size_t size, Said& said) {
    const uint32_t code = WriteFileSafely(name, data, size);
    if (code == 0) return true;
    Refuse(said, "can't write ", name);
    said += " (system error ";
    said += Num(int32_t(code));
    said += ")";
    return false;
}

}  // namespace

bool WriteRecord(const char* folder, const RecordEdit& edit, Said& said) {
    Text<255> name;
    if (!FileName(folder, "master.dat", name, said)) return false;
    Buffer<uint8_t> old;
    if (FileExists(name) && !ReadWholeFile(name, old, kMaxDatabaseBytes))
        return Refuse(said, "can't read ", name);
    if (old.size() >= std::size_t(kMaxDatabaseBytes))
        return Refuse(said, "master.dat is 64 MB or more: edit it by hand");
    Buffer<char> fresh;
    std::size_t size = 0;
    if (!EditRecord(reinterpret_cast<const char*>(old.data()), old.size(), edit, fresh, size, said))
        return false;
    Said done = said;
    if (!Write(name, fresh.data(), size, said)) return false;
    said = done;
    return true;
}

bool WritePicture(const char* folder, PictureKind kind, int16_t number, const uint8_t* rgba,
                  int32_t w, int32_t h, Said& said) {
    Text<255> file, name;
    PictureFile(file, kPicturePrefix[int(kind)], number);
    if (!FileName(folder, file, name, said)) return false;
    if (w <= 0 || h <= 0) return Refuse(said, "the image has no pixels");
    if (int64_t(w) * h > kMaxImagePixels) {
        Refuse(said, "the image has more than ");
        said += Num(int32_t(kMaxImagePixels));
        said += " pixels";
        return false;
    }
    Buffer<uint8_t> bmp;
    PictureReport r;
    if (!MakePicture(rgba, w, h, kind, bmp, r)) return Refuse(said, "not enough memory");
    if (!Write(name, reinterpret_cast<const char*>(bmp.data()), bmp.size(), said)) return false;
    said = file;
    said += ": ";
    said += Num(r.width);
    said += " x ";
    said += Num(r.height);
    if (r.shrunk || r.scale > 1) {
        said += r.shrunk ? ", scaled down from " : ", enlarged from ";
        said += Num(w);
        said += " x ";
        said += Num(h);
    }
    if (r.scale > 1) {
        said += " ";
        said += Num(r.scale);
        said += " times";
    }
    said += "; ";
    said += Num(int32_t(r.seeThrough));
    said += " see-through pixels made white, ";
    said += Num(int32_t(r.keptVisible));
    said += " opaque white pixels made 255, 255, 254 to stay visible";
    return true;
}
