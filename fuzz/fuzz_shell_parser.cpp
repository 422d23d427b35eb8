// Feeds the shell's line parser arbitrary lines and checks what a call must
// satisfy: an operation is present, and a call re-quoted by the documented
// rules parses back to the same arguments.
#include "ShellLineParser.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

std::string quote(const std::string& argument)
{
    std::string out = "\"";
    for (char c : argument) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string line(reinterpret_cast<const char*>(data), size);
    const ShellLineParser::Result result = ShellLineParser::parse(line);
    switch (result.kind) {
    case ShellLineParser::Kind::Skip:
        if (!result.arguments.empty())
            std::abort();
        break;
    case ShellLineParser::Kind::Error:
        if (result.error.empty())
            std::abort();
        break;
    case ShellLineParser::Kind::Call: {
        if (result.arguments.empty())
            std::abort();
        std::string again;
        for (const std::string& argument : result.arguments)
            again += (again.empty() ? "" : " ") + quote(argument);
        const ShellLineParser::Result reparsed = ShellLineParser::parse(again);
        if (reparsed.kind != ShellLineParser::Kind::Call || reparsed.arguments != result.arguments)
            std::abort();
        break;
    }
    }
    return 0;
}
