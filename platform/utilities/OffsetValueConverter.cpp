#include "host/OffsetValueConverter.h"

#include "SaturatingMath.h"

#include <cstdint>

OffsetValueConverter::OffsetValueConverter(int offset)
    : m_offset(offset)
{
}

OffsetValueConverter::~OffsetValueConverter() = default;

bool OffsetValueConverter::Convert(const ConversionContext&, int input, int& output)
{
    output = saturateToInt(static_cast<std::int64_t>(input) + m_offset);
    return true;
}
