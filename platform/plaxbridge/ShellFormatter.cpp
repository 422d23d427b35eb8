#include "ShellFormatter.h"

#include "host/DateTime.h"

#include <QStringList>

#include <cstdio>

namespace {

std::string oneLine(const std::string& message)
{
    // A result is exactly one line, whatever a message holds.
    std::string out;
    out.reserve(message.size());
    for (const char c : message)
        out.push_back(c == '\n' || c == '\r' ? ' ' : c);
    return out;
}

} // namespace

std::string ShellFormatter::ok()
{
    return "OK";
}

std::string ShellFormatter::integer(long long value)
{
    return "= " + std::to_string(value);
}

std::string ShellFormatter::boolean(bool value)
{
    return value ? "= true" : "= false";
}

std::string ShellFormatter::text(const std::string& utf8)
{
    return "= " + jsonString(utf8);
}

std::string ShellFormatter::integers(const std::vector<int>& values)
{
    std::string out = "= [";
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            out += ',';
        out += std::to_string(values[i]);
    }
    return out + "]";
}

std::string ShellFormatter::unsignedIntegers(const std::vector<unsigned int>& values)
{
    std::string out = "= [";
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            out += ',';
        out += std::to_string(values[i]);
    }
    return out + "]";
}

std::string ShellFormatter::texts(const QStringList& values)
{
    std::string out = "= [";
    for (int i = 0; i < values.size(); ++i) {
        if (i > 0)
            out += ',';
        out += jsonString(values.at(i).toStdString());
    }
    return out + "]";
}

std::string ShellFormatter::dateTime(const DateTime& time)
{
    return integers({time.year, time.month, time.day, time.hour, time.minute, time.second});
}

std::string ShellFormatter::exception(const std::string& className, const std::string& message)
{
    return "! " + className + ": " + oneLine(message);
}

std::string ShellFormatter::problem(const std::string& message)
{
    return "? " + oneLine(message);
}

std::string ShellFormatter::jsonString(const std::string& utf8)
{
    std::string out = "\"";
    for (const char ch : utf8) {
        const unsigned char c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20 || c == 0x7f) {
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                out += buffer;
            } else {
                out.push_back(ch);
            }
        }
    }
    return out + "\"";
}
