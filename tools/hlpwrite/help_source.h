// The parsed help source; the format is described in help_source.cpp.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace hlp {

// A run of Windows-1252 text; a jump when target is set.
struct Span {
    std::string text;
    bool bold = false;
    std::string target;
    int line = 0;
};

enum class Block { Body, Heading, Bullet, Fixed };

struct Paragraph {
    Block kind = Block::Body;
    std::vector<Span> spans;         // Body, Bullet, Heading
    std::vector<std::string> lines;  // Fixed
};

struct Topic {
    std::string id;
    std::string title;
    std::vector<Paragraph> paragraphs;
};

struct HelpSource {
    std::string title;
    std::vector<Topic> topics;  // the first one is the contents page
};

struct ParseError {
    int line = 0;  // 0 when the whole source is at fault
    std::string message;
};

bool parseHelpSource(std::string_view text, HelpSource& out, ParseError& error);

}  // namespace hlp
