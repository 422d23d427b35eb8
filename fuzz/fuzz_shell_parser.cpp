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
    using Kind = ShellLineParser::Kind;
    // A skipped line has no arguments, an error names itself, a call has an operation.
    if ((result.kind == Kind::Skip && !result.arguments.empty()) || (result.kind == Kind::Error && result.error.empty())
        || (result.kind == Kind::Call && result.arguments.empty()))
        std::abort();
    if (result.kind != Kind::Call)
        return 0;
    std::string again;
    for (const std::string& argument : result.arguments)
        again += (again.empty() ? "" : " ") + quote(argument);
    const ShellLineParser::Result reparsed = ShellLineParser::parse(again);
    if (reparsed.kind != Kind::Call || reparsed.arguments != result.arguments)
        std::abort();
    return 0;
}
