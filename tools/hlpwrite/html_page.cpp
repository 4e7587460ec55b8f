// Writes the help source as a single HTML page that any browser back to the oldest can show.
#include "html_page.h"

namespace hlp {
namespace {

void escaped(std::string& out, const std::string& text) {
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
}

// Topic ids are unique regardless of case, so the anchors use one case.
std::string anchor(const std::string& id) {
    std::string a = id;
    for (char& c : a)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return a;
}

void spans(std::string& out, const std::vector<Span>& list) {
    for (const Span& s : list) {
        if (!s.target.empty()) out += "<a href=\"#" + anchor(s.target) + "\">";
        if (s.bold) out += "<b>";
        escaped(out, s.text);
        if (s.bold) out += "</b>";
        if (!s.target.empty()) out += "</a>";
    }
}

void paragraphs(std::string& out, const std::vector<Paragraph>& list) {
    bool inList = false;
    for (const Paragraph& p : list) {
        if (p.kind != Block::Bullet && inList) {
            out += "</ul>\r\n";
            inList = false;
        }
        switch (p.kind) {
            case Block::Heading:
                out += "<h3>";
                spans(out, p.spans);
                out += "</h3>\r\n";
                break;
            case Block::Bullet:
                if (!inList) out += "<ul>\r\n";
                inList = true;
                out += "<li>";
                spans(out, p.spans);
                out += "</li>\r\n";
                break;
            case Block::Fixed:
                out += "<pre>";
                for (const std::string& line : p.lines) {
                    escaped(out, line);
                    out += "\r\n";
                }
                out += "</pre>\r\n";
                break;
            case Block::Body:
                out += "<p>";
                spans(out, p.spans);
                out += "</p>\r\n";
                break;
        }
    }
    if (inList) out += "</ul>\r\n";
}

}  // namespace

// A phone lays it out at its own width, and a long line of an example wraps in its box
// rather than widening the page; old browsers ignore what they don't know. The whole help is
// the page's main part, for screen readers.
std::string htmlPage(const HelpSource& source) {
    std::string out =
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">\r\n<html lang=\"en\">\r\n<head>\r\n"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">\r\n"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\r\n"
        "<style type=\"text/css\">body { max-width: 44em; margin: 0 auto; padding: 0 12px; "
        "font-family: sans-serif; line-height: 1.4; } pre { white-space: pre-wrap; overflow-wrap: anywhere; "
        "background: #f4f4f4; padding: 4px 8px; }</style>\r\n<title>";
    escaped(out, source.title);
    out += "</title>\r\n</head>\r\n<body>\r\n<div role=\"main\">\r\n<h1>";
    escaped(out, source.title);
    out += "</h1>\r\n";
    for (const Topic& t : source.topics) {
        out += "<hr>\r\n<h2><a name=\"" + anchor(t.id) + "\" id=\"" + anchor(t.id) + "\">";
        escaped(out, t.title);
        out += "</a></h2>\r\n";
        paragraphs(out, t.paragraphs);
    }
    out += "</div>\r\n</body>\r\n</html>\r\n";
    return out;
}

}  // namespace hlp
