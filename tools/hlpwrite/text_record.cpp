#include "text_record.h"

#include "compressed.h"

namespace hlp {

// Every command is preceded by exactly one string, possibly empty; readers
// print string i and then run command i.
void TextRecord::command(std::initializer_list<std::uint8_t> bytes) {
    putText(strings_, pending_);
    putU8(strings_, 0);
    pending_.clear();
    commands_.insert(commands_.end(), bytes);
}

void TextRecord::font(std::uint16_t index) {
    command({0x80, static_cast<std::uint8_t>(index & 0xFF), static_cast<std::uint8_t>(index >> 8)});
}

void TextRecord::jumpStart(std::uint32_t h) {
    command({0xE3, static_cast<std::uint8_t>(h), static_cast<std::uint8_t>(h >> 8),
             static_cast<std::uint8_t>(h >> 16), static_cast<std::uint8_t>(h >> 24)});
}

bool TextRecord::finish(Bytes& linkData1, Bytes& linkData2) const {
    linkData2 = strings_;
    putText(linkData2, pending_);
    putU8(linkData2, 0);  // the string before the closing 0xFF
    const long length = static_cast<long>(linkData2.size());
    if (linkData2.size() > kMaxTopicLength) return false;

    linkData1.clear();
    putCompressedLong(linkData1, length);    // TopicSize
    putCompressedUShort(linkData1, length);  // TopicLength
    putU8(linkData1, 0x00);
    putU8(linkData1, 0x80);
    putU16(linkData1, 0);  // paragraph id

    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < spacing_.size(); ++i)
        if (spacing_[i]) bits |= 0x0002u << i;
    putU16(linkData1, bits);
    for (const auto& v : spacing_)
        if (v && !putCompressedShort(linkData1, *v)) return false;

    putBytes(linkData1, commands_);
    putU8(linkData1, 0xFF);
    return true;
}

}  // namespace hlp
