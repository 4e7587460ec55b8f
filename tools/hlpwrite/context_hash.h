// Context ids name topics; jumps and |CONTEXT carry only their hash.
#pragma once

#include <cstdint>
#include <string_view>

namespace hlp {

// Ids are limited to [A-Za-z0-9._] and non-empty: the viewer skips other
// characters and hashes "" to 0, which would no longer match our table.
bool isValidContextId(std::string_view id);

// Case-insensitive; meaningful only for valid ids.
std::uint32_t contextHash(std::string_view id);

}  // namespace hlp
