#include "help_file.h"

#include "btree.h"
#include "container.h"
#include "context_hash.h"
#include "font_file.h"
#include "system_file.h"
#include "topic_file.h"

namespace hlp {
namespace {

// Distances in half-points.
constexpr int kGap = 12;
constexpr int kIndent = 24;
constexpr int kBulletIndent = 28;

Bytes fontFile() {
    const std::vector<std::string> faces = {"Arial", "Courier New"};
    const std::vector<FontDescriptor> fonts = {
        {0, 20, kSwiss, 0, {0, 0, 0}},             // body, 10 pt
        {kBold, 20, kSwiss, 0, {0, 0, 0}},         // bold run
        {kBold, 28, kSwiss, 0, {0, 0, 0x80}},      // page title, 14 pt
        {kBold, 24, kSwiss, 0, {0, 0, 0}},         // heading, 12 pt
        {0, 20, kModern, 1, {0, 0, 0}},            // fixed-width lines
    };
    Bytes out;
    buildFontFile(faces, fonts, out);
    return out;
}

void putSpans(TextRecord& r, const std::vector<Span>& spans, HelpFont plain) {
    HelpFont font = plain;
    r.font(font);
    for (const Span& span : spans) {
        const HelpFont wanted = span.bold ? kFontBold : plain;
        if (wanted != font) r.font(font = wanted);
        if (span.target.empty()) {
            r.text(span.text);
            continue;
        }
        r.jumpStart(contextHash(span.target));
        r.text(span.text);
        r.jumpEnd();
    }
    r.endParagraph();
}

TextRecord titleRecord(const std::string& title) {
    TextRecord r;
    r.setSpacingBelow(kGap);
    r.font(kFontTitle);
    r.text(title);
    r.endParagraph();
    return r;
}

TextRecord paragraphRecord(const Paragraph& p, bool afterList) {
    TextRecord r;
    // A list keeps its items close together but not the text after it.
    if (afterList && p.kind != Block::Bullet) r.setSpacingAbove(kGap / 2);
    switch (p.kind) {
    case Block::Heading:
        r.setSpacingAbove(afterList ? kGap / 2 * 3 : kGap);
        r.setSpacingBelow(kGap / 2);
        putSpans(r, p.spans, kFontHeading);
        break;
    case Block::Body:
        r.setSpacingBelow(kGap);
        putSpans(r, p.spans, kFontBody);
        break;
    case Block::Bullet:
        // A hanging indent, so that wrapped lines line up after the bullet.
        // The viewer ignores tab stops, hence spaces after the bullet.
        r.setSpacingBelow(kGap / 2);
        r.setLeftIndent(kBulletIndent);
        r.setFirstLineIndent(kIndent / 2 - kBulletIndent);
        r.font(kFontBody);
        r.text("\x95  ");
        putSpans(r, p.spans, kFontBody);
        break;
    case Block::Fixed:
        r.setSpacingBelow(kGap);
        r.setLeftIndent(kIndent / 2);
        r.font(kFontFixed);
        for (std::size_t i = 0; i < p.lines.size(); ++i) {
            if (i > 0) r.lineBreak();
            r.text(p.lines[i]);
        }
        r.endParagraph();
        break;
    }
    return r;
}

}  // namespace

bool buildHelpFile(const HelpSource& source, Bytes& out, std::string& error) {
    if (source.topics.size() > kMaxContextEntries) {
        error = "too many topics";
        return false;
    }
    TopicFileBuilder topics;
    for (const Topic& topic : source.topics) {
        topics.beginTopic(topic.title);
        bool ok = topics.addText(titleRecord(topic.title));
        bool afterList = false;
        for (const Paragraph& p : topic.paragraphs) {
            ok = ok && topics.addText(paragraphRecord(p, afterList));
            afterList = p.kind == Block::Bullet;
        }
        if (!ok) {
            error = "topic " + topic.id + ": a paragraph is too long";
            return false;
        }
    }
    Bytes topicBytes;
    std::vector<std::uint32_t> offsets;
    if (!topics.build(topicBytes, offsets, error)) return false;

    std::vector<std::pair<std::uint32_t, std::uint32_t>> context;
    for (std::size_t i = 0; i < source.topics.size(); ++i)
        context.emplace_back(contextHash(source.topics[i].id), offsets[i]);
    Bytes contextBytes, systemBytes;
    if (!buildContextTree(std::move(context), contextBytes) ||
        !buildSystemFile(source.title, offsets[0], systemBytes)) {
        error = "bad title or topic table";
        return false;
    }
    std::vector<InternalFile> files = {{"|CONTEXT", std::move(contextBytes)},
                                       {"|FONT", fontFile()},
                                       {"|SYSTEM", std::move(systemBytes)},
                                       {"|TOPIC", std::move(topicBytes)}};
    if (!buildContainer(std::move(files), out)) {
        error = "directory too large";
        return false;
    }
    return true;
}

}  // namespace hlp
