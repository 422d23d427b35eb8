#include "ShellLineParser.h"

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

ShellLineParser::Result failure(std::string message)
{
    ShellLineParser::Result result;
    result.kind = ShellLineParser::Kind::Error;
    result.error = std::move(message);
    return result;
}

} // namespace

ShellLineParser::Result ShellLineParser::parse(const std::string& line)
{
    Result result;
    std::size_t i = 0;
    const std::size_t n = line.size();
    while (i < n && isBlank(line[i]))
        ++i;
    if (i == n || line[i] == '#')
        return result;

    while (i < n) {
        std::string argument;
        if (line[i] == '"') {
            const std::size_t opened = i;
            ++i;
            bool closed = false;
            while (i < n) {
                const char c = line[i];
                if (c == '"') {
                    closed = true;
                    ++i;
                    break;
                }
                if (c == '\\') {
                    if (i + 1 >= n)
                        break;
                    const char next = line[i + 1];
                    if (next != '"' && next != '\\')
                        return failure("unknown escape \\" + std::string(1, next) + " at column "
                                       + std::to_string(i + 1) + " (only \\\" and \\\\ exist)");
                    argument.push_back(next);
                    i += 2;
                    continue;
                }
                argument.push_back(c);
                ++i;
            }
            if (!closed)
                return failure("unterminated quote opened at column " + std::to_string(opened + 1));
            if (i < n && !isBlank(line[i]))
                return failure("closing quote at column " + std::to_string(i)
                               + " must be followed by a blank");
        } else {
            while (i < n && !isBlank(line[i])) {
                if (line[i] == '"')
                    return failure("quote inside an unquoted argument at column "
                                   + std::to_string(i + 1));
                argument.push_back(line[i]);
                ++i;
            }
        }
        result.arguments.push_back(std::move(argument));
        while (i < n && isBlank(line[i]))
            ++i;
    }
    result.kind = Kind::Call;
    return result;
}
