// |TOPIC: topic headers and text records chained into 4 KiB blocks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bytes.h"
#include "text_record.h"

namespace hlp {

constexpr std::uint32_t kTopicLinkSize = 21;
constexpr std::uint32_t kTopicHeaderSize = 28;
constexpr std::uint8_t kTopicHeaderType = 0x02;
constexpr std::uint8_t kTextType = 0x20;

class TopicFileBuilder {
public:
    void beginTopic(const std::string& title);
    // False before the first topic or when the record does not encode.
    bool addText(const TextRecord& record);

    // The blocks, and each topic's TOPICOFFSET in order of beginTopic.
    bool build(Bytes& out, std::vector<std::uint32_t>& topicOffsets, std::string& error) const;

private:
    struct Record {
        std::uint8_t type;
        Bytes linkData1;  // empty for topic headers until build
        Bytes linkData2;
    };
    std::vector<Record> records_;
    std::size_t topics_ = 0;
};

}  // namespace hlp
