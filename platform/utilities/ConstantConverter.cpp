#include "host/ConstantConverter.h"

ConstantConverter::ConstantConverter(int value)
    : m_value(value)
{
}

ConstantConverter::~ConstantConverter() = default;

bool ConstantConverter::Convert(const ConversionContext&, int input, int& output)
{
    static_cast<void>(input);
    output = m_value;
    return true;
}
