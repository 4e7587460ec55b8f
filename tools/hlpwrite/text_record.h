// One text record (type 0x20): paragraph settings, formatting commands and
// the strings printed between them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "bytes.h"

namespace hlp {

// TopicLength is a compressed unsigned short.
constexpr std::size_t kMaxTopicLength = 32767;

class TextRecord {
public:
    // Paragraph settings, in half-points.
    void setSpacingAbove(int v) { spacing_[0] = v; }
    void setSpacingBelow(int v) { spacing_[1] = v; }
    void setLeftIndent(int v) { spacing_[3] = v; }
    void setFirstLineIndent(int v) { spacing_[5] = v; }

    // cp1252 text without NULs, printed before the next command.
    void text(std::string_view s) { pending_ += s; }

    void font(std::uint16_t index);
    void lineBreak() { command({0x81}); }
    void endParagraph() { command({0x82}); }
    void tab() { command({0x83}); }
    void jumpStart(std::uint32_t contextHash);
    void jumpEnd() { command({0x89}); }

    // LinkData1 and LinkData2 with the closing 0xFF; false if the text is too
    // long or a setting is out of range.
    bool finish(Bytes& linkData1, Bytes& linkData2) const;

private:
    void command(std::initializer_list<std::uint8_t> bytes);

    // SpacingAbove, SpacingBelow, SpacingLines, LeftIndent, RightIndent,
    // FirstLineIndent: paragraph bits 0x0002 .. 0x0040, in this order.
    std::array<std::optional<int>, 6> spacing_;
    Bytes commands_;
    Bytes strings_;
    std::string pending_;
};

}  // namespace hlp
