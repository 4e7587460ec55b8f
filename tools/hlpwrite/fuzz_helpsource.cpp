// Any input must either be rejected with a message or give a help file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "help_file.h"
#include "help_source.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    hlp::HelpSource source;
    hlp::ParseError error;
    if (!hlp::parseHelpSource(text, source, error)) {
        if (error.message.empty()) __builtin_trap();
        return 0;
    }
    hlp::Bytes file;
    std::string buildError;
    if (!hlp::buildHelpFile(source, file, buildError) && buildError.empty()) __builtin_trap();
    return 0;
}
