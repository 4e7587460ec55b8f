// The help as one plain HTML page, for Windows versions that have no help viewer.
#pragma once

#include <string>

#include "help_source.h"

namespace hlp {

// One page in Windows-1252: every topic in source order, jumps as links within the page.
std::string htmlPage(const HelpSource& source);

}  // namespace hlp
