/* Help source format (hlpwrite)
 *
 * A UTF-8 text file of lines ending in LF or CR LF. Only characters that
 * Windows-1252 has are allowed; tabs and other control characters are not.
 *
 *   ; comment          ignored
 *   @title TEXT        the help title, shown as the window caption; exactly
 *                      once, at most 50 characters
 *   @topic ID TITLE    starts a topic. ID: letters, digits, '.' and '_', unique
 *                      regardless of case. TITLE is shown as the page heading.
 *                      The first topic is the contents page.
 *   # TEXT             a heading
 *   - TEXT             a bulleted paragraph
 *   | TEXT             a line shown as is in a fixed-width font; consecutive
 *                      lines form one block, and "|" alone is an empty line
 *   (blank line)       ends a paragraph
 *   other text         a paragraph; the text lines that follow continue it,
 *                      also after "- "
 *
 * Within paragraphs and bulleted text:
 *   *bold*             a bold run; it may go on over lines of one paragraph
 *   {link text|ID}     a jump to the topic ID, all on one line
 *   **  {{  }}         a literal *, { or }
 * Titles, headings and fixed-width lines are plain text.
 */
#include "help_source.h"

#include "btree.h"
#include "context_hash.h"
#include "cp1252.h"
#include "system_file.h"

namespace hlp {
namespace {

std::string_view trim(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

bool isMark(char c) { return c == '*' || c == '{' || c == '}'; }

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

std::string quoted(std::string_view s) { return "\"" + std::string(s) + "\""; }

class Parser {
public:
    explicit Parser(HelpSource& out) : out_(out) {}
    bool run(std::string_view text);
    ParseError error;

private:
    bool fail(std::string message, int line = -1) {
        error = {line < 0 ? line_ : line, std::move(message)};
        return false;
    }
    bool handleLine(std::string_view s);
    bool directive(std::string_view s);
    bool newTopic(std::string_view rest);
    bool closeParagraph();
    void openParagraph(Block kind);
    void appendText(std::string_view text);
    bool appendInline(std::string_view s);
    bool jump(std::string_view s, std::size_t& i);
    bool checkJumps();
    Paragraph& current() { return out_.topics.back().paragraphs.back(); }

    HelpSource& out_;
    std::vector<int> topicLines_;
    int line_ = 0;
    bool open_ = false;  // the last paragraph still takes text lines
    bool bold_ = false;
    int boldLine_ = 0;
};

bool Parser::run(std::string_view text) {
    out_ = {};
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    for (std::size_t pos = 0;;) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view raw = text.substr(pos, end - pos);
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
        ++line_;
        std::string s, message;
        if (!utf8ToCp1252(raw, s, message)) return fail(message);
        if (!handleLine(s)) return false;
        if (end == text.size()) break;
        pos = end + 1;
    }
    if (!closeParagraph()) return false;
    if (out_.title.empty()) return fail("missing @title", 0);
    if (out_.topics.empty()) return fail("no @topic", 0);
    return checkJumps();
}

bool Parser::handleLine(std::string_view s) {
    if (!s.empty() && s[0] == ';') return true;
    const std::string_view t = trim(s);
    if (t.empty()) return closeParagraph();
    if (s[0] == '@') return closeParagraph() && directive(s);
    if (out_.topics.empty()) return fail("text before the first @topic");

    if (s[0] == '|') {
        std::string_view rest = s.substr(1);
        if (!rest.empty() && rest[0] == ' ') rest.remove_prefix(1);
        if (!open_ || current().kind != Block::Fixed) {
            if (!closeParagraph()) return false;
            openParagraph(Block::Fixed);
        }
        current().lines.emplace_back(rest);
        return true;
    }
    if (s[0] == '#') {
        const std::string_view heading = trim(s.substr(1));
        if (heading.empty()) return fail("empty heading");
        if (!closeParagraph()) return false;
        openParagraph(Block::Heading);
        appendText(heading);
        open_ = false;
        return true;
    }
    if (s[0] == '-' && (s.size() == 1 || s[1] == ' ')) {
        const std::string_view item = trim(s.substr(1));
        if (item.empty()) return fail("empty bulleted line");
        if (!closeParagraph()) return false;
        openParagraph(Block::Bullet);
        return appendInline(item);
    }
    if (open_ && current().kind != Block::Fixed) {
        appendText(" ");
        return appendInline(t);
    }
    if (!closeParagraph()) return false;
    openParagraph(Block::Body);
    return appendInline(t);
}

bool Parser::directive(std::string_view s) {
    const std::size_t space = s.find(' ');
    const std::string_view word = s.substr(1, space == std::string_view::npos ? s.npos : space - 1);
    const std::string_view rest = space == std::string_view::npos ? "" : trim(s.substr(space + 1));
    if (word == "topic") return newTopic(rest);
    if (word != "title") return fail("unknown directive @" + std::string(word));
    if (!out_.title.empty()) return fail("@title given twice");
    if (rest.empty()) return fail("@title needs a text");
    if (rest.size() > kMaxTitle) return fail("title longer than 50 characters");
    out_.title = rest;
    return true;
}

bool Parser::newTopic(std::string_view rest) {
    const std::size_t space = rest.find(' ');
    const std::string_view id = rest.substr(0, space);
    const std::string_view title = space == std::string_view::npos ? "" : trim(rest.substr(space + 1));
    if (id.empty() || title.empty()) return fail("@topic needs an id and a title");
    if (!isValidContextId(id))
        return fail("bad topic id " + quoted(id) + " (use letters, digits, '.' and '_')");
    for (std::size_t i = 0; i < out_.topics.size(); ++i) {
        const std::string& other = out_.topics[i].id;
        if (sameIgnoringCase(other, id))
            return fail("duplicate topic id " + quoted(id) + " (first at line " +
                        std::to_string(topicLines_[i]) + ")");
        if (contextHash(other) == contextHash(id))
            return fail("topic ids " + quoted(other) + " and " + quoted(id) + " have the same hash");
    }
    if (out_.topics.size() >= kMaxContextEntries) return fail("too many topics (at most 255)");
    out_.topics.push_back({std::string(id), std::string(title), {}});
    topicLines_.push_back(line_);
    return true;
}

bool Parser::closeParagraph() {
    if (!open_) return true;
    open_ = false;
    if (bold_) return fail("bold run not closed with '*' in its paragraph", boldLine_);
    return true;
}

void Parser::openParagraph(Block kind) {
    Paragraph p;
    p.kind = kind;
    out_.topics.back().paragraphs.push_back(std::move(p));
    open_ = true;
    bold_ = false;
}

void Parser::appendText(std::string_view text) {
    std::vector<Span>& spans = current().spans;
    if (!spans.empty() && spans.back().target.empty() && spans.back().bold == bold_)
        spans.back().text += text;
    else
        spans.push_back({std::string(text), bold_, {}, line_});
}

bool Parser::appendInline(std::string_view s) {
    std::string text;
    auto emit = [&] {
        if (!text.empty()) appendText(text);
        text.clear();
    };
    for (std::size_t i = 0; i < s.size();) {
        const char c = s[i];
        if (isMark(c) && i + 1 < s.size() && s[i + 1] == c) {
            text += c;
            i += 2;
        } else if (c == '*') {
            emit();
            bold_ = !bold_;
            if (bold_) boldLine_ = line_;
            ++i;
        } else if (c == '{') {
            emit();
            if (!jump(s, i)) return false;
        } else if (c == '}') {
            return fail("'}' without '{' (write }} for a literal one)");
        } else {
            text += c;
            ++i;
        }
    }
    emit();
    return true;
}

// s[i] is the '{' of "{link text|ID}"; leaves i after the '}'.
bool Parser::jump(std::string_view s, std::size_t& i) {
    std::string text;
    std::size_t j = i + 1;
    for (;; ++j) {
        if (j >= s.size()) return fail("jump without '|' and a topic id");
        const char c = s[j];
        if (c == '|') break;
        if (isMark(c) && j + 1 < s.size() && s[j + 1] == c) {
            text += c;
            ++j;
        } else if (c == '*') {
            return fail("'*' inside a jump (write ** for a literal one)");
        } else if (c == '{') {
            return fail("'{' inside a jump (write {{ for a literal one)");
        } else if (c == '}') {
            return fail("jump without '|' and a topic id");
        } else {
            text += c;
        }
    }
    const std::size_t close = s.find('}', j + 1);
    if (close == std::string_view::npos) return fail("jump not closed with '}' on its line");
    const std::string_view id = s.substr(j + 1, close - j - 1);
    if (trim(text).empty()) return fail("empty jump text");
    if (!isValidContextId(id)) return fail("bad topic id " + quoted(id) + " in jump");
    current().spans.push_back({std::move(text), bold_, std::string(id), line_});
    i = close + 1;
    return true;
}

bool Parser::checkJumps() {
    for (const Topic& topic : out_.topics)
        for (const Paragraph& p : topic.paragraphs)
            for (const Span& span : p.spans) {
                if (span.target.empty()) continue;
                bool found = false;
                for (const Topic& t : out_.topics) found = found || t.id == span.target;
                if (!found) return fail("unknown jump target " + quoted(span.target), span.line);
            }
    return true;
}

}  // namespace

bool parseHelpSource(std::string_view text, HelpSource& out, ParseError& error) {
    Parser parser(out);
    if (parser.run(text)) return true;
    error = parser.error;
    return false;
}

}  // namespace hlp
