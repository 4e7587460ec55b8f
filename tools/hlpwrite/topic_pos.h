// Where a byte of the |TOPIC record stream ends up in the file.
#pragma once

#include <cstdint>

namespace hlp {

constexpr std::uint32_t kTopicBlockSize = 4096;
constexpr std::uint32_t kTopicBlockHeader = 12;
constexpr std::uint32_t kTopicBlockData = kTopicBlockSize - kTopicBlockHeader;

constexpr std::uint32_t topicBlockOf(std::uint32_t streamOffset) { return streamOffset / kTopicBlockData; }

// Readers split a TOPICPOS as block = (pos - 12) >> 14, so blocks count in
// steps of 0x4000 even though an uncompressed block holds only 4,084 bytes.
constexpr std::uint32_t topicPos(std::uint32_t streamOffset) {
    return topicBlockOf(streamOffset) * 0x4000u + kTopicBlockHeader + streamOffset % kTopicBlockData;
}

}  // namespace hlp
