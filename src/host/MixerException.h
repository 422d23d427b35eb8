#pragma once

#include "ConverterException.h"

// A mixer could not serve a request (text access of a non-text value, editor
// launch failure). `source` names the mixer ("QORA"), `code` is -1 by
// convention.
class UTILITIES_API MixerException : public ConverterException
{
public:
    MixerException(std::string message, std::string source, int code);
    ~MixerException() override;

    const std::string& source() const { return m_source; }
    int code() const { return m_code; }

private:
    std::string m_source;
    int m_code;
};
