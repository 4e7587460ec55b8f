#include "topic_file.h"

#include <algorithm>

#include "topic_pos.h"

namespace hlp {
namespace {

// Keeps every TOPICPOS and TOPICOFFSET far from 32-bit overflow.
constexpr std::size_t kMaxStream = 16u << 20;

std::uint32_t recordSize(std::size_t ld1, std::size_t ld2) {
    return static_cast<std::uint32_t>(kTopicLinkSize + ld1 + ld2);
}

}  // namespace

void TopicFileBuilder::beginTopic(const std::string& title) {
    Bytes name(title.begin(), title.end());
    records_.push_back({kTopicHeaderType, {}, std::move(name)});
    ++topics_;
}

bool TopicFileBuilder::addText(const TextRecord& text) {
    if (topics_ == 0) return false;
    Record r{kTextType, {}, {}};
    if (!text.finish(r.linkData1, r.linkData2)) return false;
    records_.push_back(std::move(r));
    return true;
}

bool TopicFileBuilder::build(Bytes& out, std::vector<std::uint32_t>& topicOffsets,
                             std::string& error) const {
    if (topics_ == 0) {
        error = "no topics";
        return false;
    }
    // The viewer treats the last record as a page of its own, so close the
    // chain with an empty topic header rather than with real content.
    std::vector<Record> records = records_;
    records.push_back({kTopicHeaderType, {}, {}});

    std::vector<std::uint32_t> start;  // stream offset of each record
    std::size_t stream = 0;
    for (const Record& r : records) {
        start.push_back(static_cast<std::uint32_t>(stream));
        std::size_t ld1 = r.type == kTopicHeaderType ? kTopicHeaderSize : r.linkData1.size();
        stream += recordSize(ld1, r.linkData2.size());
        if (stream > kMaxStream) {
            error = "help text too long";
            return false;
        }
    }
    const std::size_t n = records.size();
    auto posOf = [&](std::size_t i) { return i < n ? topicPos(start[i]) : kNone; };

    // A topic's TOPICOFFSET counts the characters of the text records that
    // start in its block before it, exactly as the viewer recounts them.
    topicOffsets.clear();
    std::uint32_t block = 0, chars = 0;
    bool hasText = true;
    for (std::size_t i = 0; i < n; ++i) {
        if (topicBlockOf(start[i]) != block) {
            block = topicBlockOf(start[i]);
            chars = 0;
        }
        if (records[i].type == kTextType) {
            chars += static_cast<std::uint32_t>(records[i].linkData2.size());
            hasText = true;
            continue;
        }
        if (!hasText || chars >= 0x8000) {
            error = hasText ? "too much text in one block" : "a topic without text";
            return false;
        }
        if (i + 1 < n) topicOffsets.push_back(block * 0x8000u + chars);
        hasText = false;
    }

    Bytes streamBytes;
    std::uint32_t topicNum = 0;
    for (std::size_t i = 0; i < n; ++i) {
        Bytes ld1 = records[i].linkData1;
        if (records[i].type == kTopicHeaderType) {
            std::size_t next = i + 1;
            while (next < n && records[next].type != kTopicHeaderType) ++next;
            const bool last = i + 1 == n;
            putU32(ld1, (next < n ? start[next] : static_cast<std::uint32_t>(stream)) - start[i]);
            putU32(ld1, kNone);  // BrowseBck: no browse sequence
            putU32(ld1, kNone);  // BrowseFor
            putU32(ld1, topicNum++);
            putU32(ld1, kNone);  // NonScroll
            putU32(ld1, last ? kNone : posOf(i + 1));
            putU32(ld1, posOf(next));
        }
        const Bytes& ld2 = records[i].linkData2;
        putU32(streamBytes, recordSize(ld1.size(), ld2.size()));
        putU32(streamBytes, static_cast<std::uint32_t>(ld2.size()));
        putU32(streamBytes, i == 0 ? kNone : posOf(i - 1));
        putU32(streamBytes, posOf(i + 1));
        putU32(streamBytes, static_cast<std::uint32_t>(kTopicLinkSize + ld1.size()));
        putU8(streamBytes, records[i].type);
        putBytes(streamBytes, ld1);
        putBytes(streamBytes, ld2);
    }

    // Cut into blocks; the reader copies a full block every time, so pad the last.
    out.clear();
    const std::uint32_t blocks = topicBlockOf(static_cast<std::uint32_t>(stream - 1)) + 1;
    std::size_t first = 0;  // first record starting in or after this block
    std::uint32_t lastLink = kNone, lastHeader = kNone;
    for (std::uint32_t b = 0; b < blocks; ++b) {
        putU32(out, lastLink);
        putU32(out, first < n && topicBlockOf(start[first]) == b ? posOf(first) : kNone);
        putU32(out, lastHeader);
        for (; first < n && topicBlockOf(start[first]) == b; ++first) {
            lastLink = posOf(first);
            if (records[first].type == kTopicHeaderType) lastHeader = lastLink;
        }
        const std::size_t from = std::size_t{b} * kTopicBlockData;
        const std::size_t to = std::min(streamBytes.size(), from + kTopicBlockData);
        out.insert(out.end(), streamBytes.begin() + static_cast<long>(from),
                   streamBytes.begin() + static_cast<long>(to));
        out.resize(std::size_t{b + 1} * kTopicBlockSize, 0);
    }
    return true;
}

}  // namespace hlp
