// vordata DIR set|remove|picture ...: writes an author's data as the game reads it, one
// record or picture at a time, through the same writer as the web page's.
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include "data/folder_write.h"
#include "data/number.h"
#include "data/records.h"
#include "vordata/image_file.h"

namespace {

const char kUsage[] =
    "usage: vordata DIR set moves|trainers|names|damage NUMBER TEXT\n"
    "       vordata DIR remove moves|trainers|names|damage NUMBER\n"
    "       vordata DIR picture creature|trainer|back NUMBER IMAGE.bmp\n"
    "  DIR    the data folder: its master.dat, or the picture's file, is written\n"
    "  TEXT   a name, or a move's damage (35, -5, 23H)\n"
    "  IMAGE  a 24- or 32-bit bitmap; where its alpha is below half, the picture is\n"
    "         see-through\n"
    "Exit code: 0 when written, 1 when refused (the files stay as they were), 2 for a\n"
    "wrong command.\n";

#ifdef _WIN32
const char kSeparator[] = "\\";
#else
const char kSeparator[] = "/";
#endif

// To standard output or error, without printf: mingw's own would bloat the exe.
void Say(std::FILE* to, const char* text) {
    for (const char* t : {"vordata: ", text, "\n"}) std::fputs(t, to);
}

int Usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) return Usage();
    const char* command = argv[2];
    const bool set = !std::strcmp(command, "set"), remove = !std::strcmp(command, "remove"),
               picture = !std::strcmp(command, "picture");
    const int wanted = set || picture ? 6 : 5;
    const int section = SectionNamed(argv[3]), kind = PictureKindNamed(argv[3]);
    if (argc != wanted || (!set && !remove && !picture) || (picture ? kind : section) < 0) return Usage();

    Text<300> folder;
    folder = argv[1];
    const char last = argv[1][0] ? argv[1][std::strlen(argv[1]) - 1] : '/';
    if (last != '/' && last != '\\') folder += kSeparator;
    Said said;
    const int32_t number = NumberOf(argv[4]);
    if (number < INT16_MIN || number > INT16_MAX) {
        Say(stderr, "the number is not one from -32768 to 32767");
        return 1;
    }
    bool done;
    if (picture) {
        Buffer<uint8_t> rgba;
        int32_t w, h;
        done = ReadImageFile(argv[5], rgba, w, h, said) &&
               WritePicture(folder, PictureKind(kind), int16_t(number), rgba.data(), w, h, said);
    } else {
        done = WriteRecord(folder, RecordEdit{section, int16_t(number), set ? argv[5] : nullptr}, said);
    }
    Say(done ? stdout : stderr, said);
    return done ? 0 : 1;
}
