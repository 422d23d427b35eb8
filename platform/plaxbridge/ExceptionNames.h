#pragma once

#include <exception>
#include <string>

// The class name of an exception that reached the host, for messages: its
// demangled dynamic type ("ParameterNotFoundException", "std::exception",
// "std::invalid_argument").
class ExceptionNames {
public:
    static std::string className(const std::exception& e);
};
