#pragma once

#include <string>
#include <vector>

class QStringList;
struct DateTime;

// The shell's result lines (without the line feed): "OK" for a call without
// result, "= " and the result for one with a result, "! Class: message" for
// an exception thrown to the host and "? message" for a line the shell could
// not run. Texts are written as JSON strings, lists as JSON arrays.
class ShellFormatter {
public:
    static std::string ok();
    static std::string integer(long long value);
    static std::string boolean(bool value);
    static std::string text(const std::string& utf8);
    static std::string integers(const std::vector<int>& values);
    static std::string unsignedIntegers(const std::vector<unsigned int>& values);
    static std::string texts(const QStringList& values);
    static std::string dateTime(const DateTime& time);
    static std::string exception(const std::string& className, const std::string& message);
    static std::string problem(const std::string& message);

    // A JSON string literal: quotes, backslashes and control characters are
    // escaped, other bytes (UTF-8) are kept as they are.
    static std::string jsonString(const std::string& utf8);
};
