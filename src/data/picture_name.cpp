// Picture file names built from the picture folder and a number, and how names compare.
#include "data/picture_name.h"
#include <cstring>
#include "data/number.h"
#include "duel/state.h"

int PictureKindNamed(const char* word) {
    const char* const words[3] = {"creature", "trainer", "back"};  // by PictureKind
    for (int k = 0; k < 3; k++)
        if (!std::strcmp(word, words[k])) return k;
    return -1;
}

void PictureFile(Text<255>& name, const char* prefix, int16_t number) {
    char digits[12];
    DecimalText(number, digits);
    name = prefix;
    name += digits;
    name += ".bmp";
}

void PictureName(Text<255>& name, const char* prefix, int16_t number) {
    Text<255> file;
    PictureFile(file, prefix, number);
    name = path;
    name += file;
}

bool SameFileName(const char* a, const char* b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    while (*a && lower(*a) == lower(*b)) {
        a++;
        b++;
    }
    return lower(*a) == lower(*b);
}
