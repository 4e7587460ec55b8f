#include "btree.h"

#include <algorithm>

namespace hlp {

bool buildLeafTree(const BtreeFormat& format, const std::vector<Bytes>& entries, Bytes& out) {
    std::size_t used = 0;
    for (const Bytes& e : entries) used += e.size();
    if (used > format.pageSize - kLeafHeaderSize || entries.size() > 0xFFFF) return false;

    out.clear();
    putU16(out, kBtreeMagic);
    putU16(out, format.flags);
    putU16(out, format.pageSize);
    putPadded(out, format.structure, 16);
    putU16(out, 0);       // MustBeZero
    putU16(out, 0);       // PageSplits
    putU16(out, 0);       // RootPage
    putU16(out, 0xFFFF);  // MustBeNegOne
    putU16(out, 1);       // TotalPages
    putU16(out, 1);       // NLevels
    putU32(out, static_cast<std::uint32_t>(entries.size()));

    putU16(out, static_cast<std::uint32_t>(format.pageSize - kLeafHeaderSize - used));
    putU16(out, static_cast<std::uint32_t>(entries.size()));
    putU16(out, 0xFFFF);  // PreviousPage
    putU16(out, 0xFFFF);  // NextPage
    for (const Bytes& e : entries) putBytes(out, e);
    out.resize(kBtreeHeaderSize + format.pageSize, 0);
    return true;
}

bool buildDirectoryTree(std::vector<std::pair<std::string, std::uint32_t>> files, Bytes& out) {
    std::sort(files.begin(), files.end());
    std::vector<Bytes> entries;
    for (const auto& [name, offset] : files) {
        Bytes e;
        putText(e, name);
        putU8(e, 0);
        putU32(e, offset);
        entries.push_back(std::move(e));
    }
    return buildLeafTree({0x0402, kDirectoryPageSize, "z4"}, entries, out);
}

bool buildContextTree(std::vector<std::pair<std::uint32_t, std::uint32_t>> entries, Bytes& out) {
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return static_cast<std::int32_t>(a.first) < static_cast<std::int32_t>(b.first);
    });
    std::vector<Bytes> leaf;
    for (const auto& [hash, offset] : entries) {
        Bytes e;
        putU32(e, hash);
        putU32(e, offset);
        leaf.push_back(std::move(e));
    }
    return buildLeafTree({0x0002, kContextPageSize, "L4"}, leaf, out);
}

}  // namespace hlp
