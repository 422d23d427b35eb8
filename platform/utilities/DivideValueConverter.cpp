#include "host/DivideValueConverter.h"

#include "SaturatingMath.h"

#include <cstdint>

DivideValueConverter::DivideValueConverter(int divisor)
    : m_divisor(divisor)
{
}

DivideValueConverter::~DivideValueConverter() = default;

bool DivideValueConverter::Convert(const ConversionContext&, int input, int& output)
{
    if (m_divisor == 0)
        return false;
    // C++ division truncates toward zero; only INT_MIN / -1 leaves the range.
    output = saturateToInt(static_cast<std::int64_t>(input) / m_divisor);
    return true;
}
