// Lays a parsed help source out as a complete help file.
#pragma once

#include <string>

#include "bytes.h"
#include "help_source.h"

namespace hlp {

// Font numbers used in the text records.
enum HelpFont : std::uint16_t { kFontBody, kFontBold, kFontTitle, kFontHeading, kFontFixed, kFontCount };

bool buildHelpFile(const HelpSource& source, Bytes& out, std::string& error);

}  // namespace hlp
