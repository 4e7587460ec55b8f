// Help text is stored in Windows-1252; sources are written in UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace hlp {

// Converts one line. Fails with a message on malformed UTF-8, control
// characters, and characters that Windows-1252 lacks.
bool utf8ToCp1252(std::string_view in, std::string& out, std::string& error);

}  // namespace hlp
