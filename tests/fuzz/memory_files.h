// The file operations over one buffer in memory, so that a fuzz run touches no disk.
#pragma once
#include <cstddef>
#include <cstdint>

namespace memory_file {
// The next file opened, whatever its name: its bytes, the most one read gives back, and
// the read (counting from 0) that fails, or -1 for none.
void Set(const uint8_t* data, std::size_t size, long block = 1 << 16, long failingRead = -1);
}  // namespace memory_file
