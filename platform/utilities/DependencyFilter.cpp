#include "host/DependencyFilter.h"

#include <algorithm>
#include <utility>

DependencyFilter::DependencyFilter(std::vector<int> values, bool passOnMatch, int index)
    : m_values(std::move(values))
    , m_passOnMatch(passOnMatch)
    , m_index(index)
{
}

DependencyFilter::~DependencyFilter() = default;

bool DependencyFilter::Pass(const ConversionContext&, const std::vector<int>& dependencies) const
{
    if (m_index < 0 || static_cast<std::size_t>(m_index) >= dependencies.size())
        return false;
    const int value = dependencies[static_cast<std::size_t>(m_index)];
    const bool found = std::find(m_values.begin(), m_values.end(), value) != m_values.end();
    return found == m_passOnMatch;
}
