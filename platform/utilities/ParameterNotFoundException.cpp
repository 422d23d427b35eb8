#include "host/ParameterNotFoundException.h"

#include <utility>

ParameterNotFoundException::ParameterNotFoundException(std::string message, std::string parameterName,
                                                       std::string mixerId)
    : ConverterException(std::move(message))
    , m_parameterName(std::move(parameterName))
    , m_mixerId(std::move(mixerId))
{
}

ParameterNotFoundException::~ParameterNotFoundException() = default;
