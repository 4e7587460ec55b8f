// |FONT in the old layout with 11-byte descriptors, the only one the viewer reads.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bytes.h"

namespace hlp {

enum FontAttribute : std::uint8_t { kBold = 0x01, kItalic = 0x02, kUnderline = 0x04 };
enum FontFamily : std::uint8_t { kModern = 1, kRoman = 2, kSwiss = 3 };

constexpr std::size_t kFaceNameSize = 20;
constexpr std::size_t kFontDescriptorSize = 11;

struct FontDescriptor {
    std::uint8_t attributes;
    std::uint8_t halfPoints;
    std::uint8_t family;
    std::uint16_t face;  // index into the face names
    std::uint8_t rgb[3];
};

// False without a face name (the viewer divides by their count) or when a
// descriptor names a face that does not exist.
bool buildFontFile(const std::vector<std::string>& faces, const std::vector<FontDescriptor>& fonts,
                   Bytes& out);

}  // namespace hlp
