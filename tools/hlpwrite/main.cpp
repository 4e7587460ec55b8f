// hlpwrite [--html] SRC.txt OUT: compiles a help source into a help file, or with --html
// into one HTML page with the same text.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "help_file.h"
#include "help_source.h"
#include "html_page.h"

static bool writeFile(const std::string& name, const char* data, std::size_t size) {
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(data, static_cast<std::streamsize>(size));
    if (out.flush()) return true;
    std::fprintf(stderr, "hlpwrite: cannot write %s\n", name.c_str());
    return false;
}

int main(int argc, char** argv) {
    const bool html = argc == 4 && std::strcmp(argv[1], "--html") == 0;
    if (argc != 3 && !html) {
        std::fprintf(stderr, "usage: hlpwrite SRC.txt OUT.hlp\n       hlpwrite --html SRC.txt OUT.html\n");
        return 2;
    }
    const std::string src = argv[html ? 2 : 1], dst = argv[html ? 3 : 2];
    std::ifstream in(src, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "hlpwrite: cannot open %s\n", src.c_str());
        return 1;
    }
    std::ostringstream text;
    text << in.rdbuf();

    hlp::HelpSource source;
    hlp::ParseError parseError;
    if (!hlp::parseHelpSource(text.str(), source, parseError)) {
        if (parseError.line > 0)
            std::fprintf(stderr, "hlpwrite: %s:%d: %s\n", src.c_str(), parseError.line,
                         parseError.message.c_str());
        else
            std::fprintf(stderr, "hlpwrite: %s: %s\n", src.c_str(), parseError.message.c_str());
        return 1;
    }
    if (html) {
        const std::string page = hlp::htmlPage(source);
        return writeFile(dst, page.data(), page.size()) ? 0 : 1;
    }
    hlp::Bytes file;
    std::string error;
    if (!hlp::buildHelpFile(source, file, error)) {
        std::fprintf(stderr, "hlpwrite: %s: %s\n", src.c_str(), error.c_str());
        return 1;
    }
    return writeFile(dst, reinterpret_cast<const char*>(file.data()), file.size()) ? 0 : 1;
}
