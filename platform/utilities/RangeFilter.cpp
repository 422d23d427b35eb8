#include "host/RangeFilter.h"

#include "host/IValueConverter.h"

RangeFilter::RangeFilter(bool useUpper, int upper, bool useLower, int lower, bool inclusive)
    : m_useUpper(useUpper)
    , m_upper(upper)
    , m_useLower(useLower)
    , m_lower(lower)
    , m_inclusive(inclusive)
{
}

RangeFilter::~RangeFilter() = default;

bool RangeFilter::Pass(const ConversionContext& context, const std::vector<int>&) const
{
    const int value = context.sourceValue;
    if (m_useUpper && (m_inclusive ? value > m_upper : value >= m_upper))
        return false;
    if (m_useLower && (m_inclusive ? value < m_lower : value <= m_lower))
        return false;
    return true;
}
