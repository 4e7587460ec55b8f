// hlpwrite SRC.txt OUT.hlp: compiles a help source into a help file.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "help_file.h"
#include "help_source.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: hlpwrite SRC.txt OUT.hlp\n");
        return 2;
    }
    const std::string src = argv[1], dst = argv[2];
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
    hlp::Bytes file;
    std::string error;
    if (!hlp::buildHelpFile(source, file, error)) {
        std::fprintf(stderr, "hlpwrite: %s: %s\n", src.c_str(), error.c_str());
        return 1;
    }
    std::ofstream out(dst, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    if (!out.flush()) {
        std::fprintf(stderr, "hlpwrite: cannot write %s\n", dst.c_str());
        return 1;
    }
    return 0;
}
