// The outer file: header, internal files, directory last.
#pragma once

#include <string>
#include <vector>

#include "bytes.h"

namespace hlp {

constexpr std::uint32_t kHelpMagic = 0x00035F3F;
constexpr std::uint32_t kFileHeaderSize = 16;
constexpr std::uint32_t kInternalHeaderSize = 9;

struct InternalFile {
    std::string name;  // with the leading '|'
    Bytes content;
};

// False if the directory does not fit its single page.
bool buildContainer(std::vector<InternalFile> files, Bytes& out);

}  // namespace hlp
