#include "host/ConverterException.h"

#include <utility>

ConverterException::ConverterException(std::string message)
    : m_message(std::move(message))
{
}

ConverterException::~ConverterException() = default;

const char* ConverterException::what() const noexcept
{
    return m_message.c_str();
}
