#include "container.h"

#include <algorithm>
#include <utility>

#include "btree.h"

namespace hlp {
namespace {

// The viewer takes an internal file to end at offset + ReservedSpace, so
// reserve exactly what is used.
void putInternalFile(Bytes& out, const Bytes& content) {
    const auto used = static_cast<std::uint32_t>(content.size());
    putU32(out, used + kInternalHeaderSize);
    putU32(out, used);
    putU8(out, 4);  // FileFlags
    putBytes(out, content);
}

}  // namespace

bool buildContainer(std::vector<InternalFile> files, Bytes& out) {
    std::sort(files.begin(), files.end(),
              [](const InternalFile& a, const InternalFile& b) { return a.name < b.name; });
    Bytes body;
    std::vector<std::pair<std::string, std::uint32_t>> directory;
    for (const InternalFile& f : files) {
        directory.emplace_back(f.name, static_cast<std::uint32_t>(kFileHeaderSize + body.size()));
        putInternalFile(body, f.content);
    }
    Bytes tree;
    if (!buildDirectoryTree(std::move(directory), tree)) return false;
    const auto directoryStart = static_cast<std::uint32_t>(kFileHeaderSize + body.size());
    putInternalFile(body, tree);

    out.clear();
    putU32(out, kHelpMagic);
    putU32(out, directoryStart);
    putU32(out, kNone);  // FirstFreeBlock: no free list
    putU32(out, static_cast<std::uint32_t>(kFileHeaderSize + body.size()));
    putBytes(out, body);
    return true;
}

}  // namespace hlp
