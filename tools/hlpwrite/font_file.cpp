#include "font_file.h"

namespace hlp {

bool buildFontFile(const std::vector<std::string>& faces, const std::vector<FontDescriptor>& fonts,
                   Bytes& out) {
    if (faces.empty() || faces.size() > 255 || fonts.size() > 255) return false;
    for (const FontDescriptor& f : fonts)
        if (f.face >= faces.size()) return false;

    constexpr std::uint32_t kFacenamesOffset = 8;  // below 12 selects the old layout
    out.clear();
    putU16(out, static_cast<std::uint32_t>(faces.size()));
    putU16(out, static_cast<std::uint32_t>(fonts.size()));
    putU16(out, kFacenamesOffset);
    putU16(out, static_cast<std::uint32_t>(kFacenamesOffset + faces.size() * kFaceNameSize));
    for (const std::string& face : faces) putPadded(out, face, kFaceNameSize);
    for (const FontDescriptor& f : fonts) {
        putU8(out, f.attributes);
        putU8(out, f.halfPoints);
        putU8(out, f.family);
        putU16(out, f.face);
        for (std::uint8_t c : f.rgb) putU8(out, c);
        for (int i = 0; i < 3; ++i) putU8(out, 0xFF);  // background, unused
    }
    return true;
}

}  // namespace hlp
