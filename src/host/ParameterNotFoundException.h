#pragma once

#include "ConverterException.h"

// A parameter name that the mixer's catalogue lacks.
class UTILITIES_API ParameterNotFoundException : public ConverterException
{
public:
    ParameterNotFoundException(std::string message, std::string parameterName, std::string mixerId);
    ~ParameterNotFoundException() override;

    const std::string& parameterName() const { return m_parameterName; }
    const std::string& mixerId() const { return m_mixerId; }

private:
    std::string m_parameterName;
    std::string m_mixerId;
};
