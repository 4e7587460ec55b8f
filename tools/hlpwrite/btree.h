// The single-leaf B+ trees that hold the directory and |CONTEXT.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "bytes.h"

namespace hlp {

constexpr std::uint16_t kBtreeMagic = 0x293B;
constexpr std::uint32_t kBtreeHeaderSize = 38;
constexpr std::uint32_t kLeafHeaderSize = 8;
constexpr std::uint16_t kDirectoryPageSize = 1024;
constexpr std::uint16_t kContextPageSize = 2048;
constexpr std::size_t kMaxContextEntries = (kContextPageSize - kLeafHeaderSize) / 8;

struct BtreeFormat {
    std::uint16_t flags;
    std::uint16_t pageSize;
    const char* structure;
};

// Header plus one zero-padded leaf page holding the entries in the given
// order; false if they do not fit one page.
bool buildLeafTree(const BtreeFormat& format, const std::vector<Bytes>& entries, Bytes& out);

// Sorted byte-wise by name, as the viewer's search expects.
bool buildDirectoryTree(std::vector<std::pair<std::string, std::uint32_t>> files, Bytes& out);

// (hash, TOPICOFFSET) pairs, sorted by hash as a signed number: the viewer
// compares them as signed and stops at the first greater entry.
bool buildContextTree(std::vector<std::pair<std::uint32_t, std::uint32_t>> entries, Bytes& out);

}  // namespace hlp
