// The HTML page holds the same text as the help file, with working links.
#include <gtest/gtest.h>

#include <string>

#include "help_source.h"
#include "html_page.h"

namespace {

std::string Page(const std::string& body) {
    hlp::HelpSource source;
    hlp::ParseError error;
    const std::string text = "@title Help & More\n@topic Contents Start\n" + body +
                             "\n@topic Other Second <page>\nThe end.\n";
    EXPECT_TRUE(hlp::parseHelpSource(text, source, error)) << error.message;
    return hlp::htmlPage(source);
}

TEST(HelpHtml, WritesEveryBlockOfTheSource) {
    struct Case {
        const char* source;
        const char* expected;
    };
    const Case cases[] = {
        {"Plain text.", "<p>Plain text.</p>"},
        {"A *bold* word.", "<p>A <b>bold</b> word.</p>"},
        {"Go {there|Other}.", "<p>Go <a href=\"#other\">there</a>.</p>"},
        {"# A heading", "<h3>A heading</h3>"},
        {"- one\n- two\n\nafter", "<ul>\r\n<li>one</li>\r\n<li>two</li>\r\n</ul>\r\n<p>after</p>"},
        {"| a < b\n| c:\\d", "<pre>a &lt; b\r\nc:\\d\r\n</pre>"},
        {"Fish & \"chips\"", "<p>Fish &amp; &quot;chips&quot;</p>"},
        {"caf\xc3\xa9", "<p>caf\xe9</p>"},  // stored as Windows-1252, as the page declares
        {"x", "<title>Help &amp; More</title>"},
        {"x", "<h2><a name=\"contents\" id=\"contents\">Start</a></h2>"},
        {"x", "<h2><a name=\"other\" id=\"other\">Second &lt;page&gt;</a></h2>"},
        {"x", "charset=windows-1252"},
        {"x", "<html lang=\"en\">"},
        {"x", "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"},
        {"x", "<body>\r\n<div role=\"main\">\r\n<h1>Help &amp; More</h1>"},
    };
    for (const Case& c : cases) {
        const std::string page = Page(c.source);
        EXPECT_NE(page.find(c.expected), std::string::npos)
            << "source: " << c.source << "\nexpected: " << c.expected << "\npage:\n" << page;
    }
}

TEST(HelpHtml, KeepsTopicsInOrderAndClosesEveryList) {
    const std::string page = Page("- last bullet");
    EXPECT_LT(page.find("Start"), page.find("Second"));
    EXPECT_NE(page.find("<li>last bullet</li>\r\n</ul>\r\n<hr>"), std::string::npos) << page;
    EXPECT_EQ(page.substr(page.size() - 26), "</div>\r\n</body>\r\n</html>\r\n");
}

}  // namespace
