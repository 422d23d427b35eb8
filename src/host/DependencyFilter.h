#pragma once

#include "IFilter.h"
#include "UtilitiesApi.h"

#include <vector>

// Tests dependency `index` against a set of values: passes when the value is
// in the set and `passOnMatch` is true, or when it is not and `passOnMatch`
// is false. An index without a dependency value fails.
class UTILITIES_API DependencyFilter : public IFilter
{
public:
    DependencyFilter(std::vector<int> values, bool passOnMatch, int index);
    ~DependencyFilter() override;

    bool Pass(const ConversionContext& context, const std::vector<int>& dependencies) const override;

private:
    std::vector<int> m_values;
    bool m_passOnMatch;
    int m_index;
};
