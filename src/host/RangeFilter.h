#pragma once

#include "IFilter.h"
#include "UtilitiesApi.h"

#include <vector>

// Tests the channel's source value against an optional upper and an optional
// lower bound, both inclusive or both exclusive. With neither bound it passes.
class UTILITIES_API RangeFilter : public IFilter
{
public:
    RangeFilter(bool useUpper, int upper, bool useLower, int lower, bool inclusive);
    ~RangeFilter() override;

    bool Pass(const ConversionContext& context, const std::vector<int>& dependencies) const override;

private:
    bool m_useUpper;
    int m_upper;
    bool m_useLower;
    int m_lower;
    bool m_inclusive;
};
