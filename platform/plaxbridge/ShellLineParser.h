#pragma once

#include <string>
#include <vector>

// Splits one shell line into arguments. Arguments are separated by blanks
// (spaces and tabs). An argument that is empty or holds blanks is written in
// double quotes; inside quotes, \" stands for a quote and \\ for a backslash,
// and no other escape exists. A line that is blank, or whose first non-blank
// character is '#', holds no call.
class ShellLineParser {
public:
    enum class Kind { Skip, Call, Error };

    struct Result {
        Kind kind = Kind::Skip;
        std::vector<std::string> arguments;   // Call: the operation, then its arguments
        std::string error;                    // Error: what is wrong with the line
    };

    static Result parse(const std::string& line);
};
