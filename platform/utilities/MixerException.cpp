#include "host/MixerException.h"

#include <utility>

MixerException::MixerException(std::string message, std::string source, int code)
    : ConverterException(std::move(message))
    , m_source(std::move(source))
    , m_code(code)
{
}

MixerException::~MixerException() = default;
