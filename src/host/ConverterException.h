#pragma once

#include "UtilitiesApi.h"

#include <exception>
#include <string>

// Base of every exception that reaches the host. Thrown as a heap pointer;
// the catcher deletes it.
class UTILITIES_API ConverterException : public std::exception
{
public:
    explicit ConverterException(std::string message);
    ~ConverterException() override;
    const char* what() const noexcept override;

private:
    std::string m_message;
};
