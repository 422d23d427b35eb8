#include "host/MultiplyValueConverter.h"

#include "SaturatingMath.h"

#include <cstdint>

MultiplyValueConverter::MultiplyValueConverter(int factor)
    : m_factor(factor)
{
}

MultiplyValueConverter::~MultiplyValueConverter() = default;

bool MultiplyValueConverter::Convert(const ConversionContext&, int input, int& output)
{
    output = saturateToInt(static_cast<std::int64_t>(input) * m_factor);
    return true;
}
