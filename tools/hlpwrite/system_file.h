// |SYSTEM: format version, title, contents topic and the "main" window.
#pragma once

#include <cstdint>
#include <string_view>

#include "bytes.h"

namespace hlp {

// Longest title the "main" window caption field can hold.
constexpr std::size_t kMaxTitle = 50;
constexpr std::uint16_t kWindowRecordSize = 90;

// False if the title is empty or longer than kMaxTitle.
bool buildSystemFile(std::string_view title, std::uint32_t contentsOffset, Bytes& out);

}  // namespace hlp
