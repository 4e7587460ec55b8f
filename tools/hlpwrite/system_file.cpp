#include "system_file.h"

namespace hlp {
namespace {

void putRecord(Bytes& out, std::uint16_t type, const Bytes& data) {
    putU16(out, type);
    putU16(out, static_cast<std::uint32_t>(data.size()));
    putBytes(out, data);
}

// Without a window named "main" the viewer opened by WinHelpA shows its own
// caption instead of the help title.
Bytes windowRecord(std::string_view caption) {
    Bytes w;
    putU16(w, 0x0006);  // name and caption valid
    putPadded(w, "", 10);
    putPadded(w, "main", 9);
    putPadded(w, caption, 51);
    w.resize(kWindowRecordSize, 0);  // position, size, colours: defaults
    return w;
}

}  // namespace

bool buildSystemFile(std::string_view title, std::uint32_t contentsOffset, Bytes& out) {
    if (title.empty() || title.size() > kMaxTitle) return false;
    out.clear();
    putU16(out, 0x036C);  // Magic
    putU16(out, 21);      // Minor: the 3.1 layout
    putU16(out, 1);       // Major
    putU32(out, 0);       // GenDate: 0 keeps builds reproducible
    putU16(out, 0);       // Flags: uncompressed 4 KiB topic blocks

    Bytes text;
    putText(text, title);
    putU8(text, 0);
    putRecord(out, 1, text);

    Bytes contents;
    putU32(contents, contentsOffset);
    putRecord(out, 3, contents);

    putRecord(out, 6, windowRecord(title));
    return true;
}

}  // namespace hlp
