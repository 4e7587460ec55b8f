// Little-endian byte building shared by every part of the help file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace hlp {

using Bytes = std::vector<std::uint8_t>;

// Marks "no such record/topic" in TOPICPOS and TOPICOFFSET fields.
constexpr std::uint32_t kNone = 0xFFFFFFFFu;

inline void putU8(Bytes& b, std::uint32_t v) { b.push_back(static_cast<std::uint8_t>(v & 0xFFu)); }

inline void putU16(Bytes& b, std::uint32_t v) {
    putU8(b, v);
    putU8(b, v >> 8);
}

inline void putU32(Bytes& b, std::uint32_t v) {
    putU16(b, v & 0xFFFFu);
    putU16(b, v >> 16);
}

inline void putBytes(Bytes& b, const Bytes& more) { b.insert(b.end(), more.begin(), more.end()); }

inline void putText(Bytes& b, std::string_view s) { b.insert(b.end(), s.begin(), s.end()); }

// A fixed-width field: cut so that at least one NUL remains, then NUL-padded.
inline void putPadded(Bytes& b, std::string_view s, std::size_t width) {
    if (width == 0) return;
    std::string_view cut = s.substr(0, width - 1);
    putText(b, cut);
    b.insert(b.end(), width - cut.size(), 0);
}

}  // namespace hlp
