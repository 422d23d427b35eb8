#include "BenchStats.h"

#include <algorithm>
#include <numeric>

double BenchStats::median() const
{
    if (m_samples.empty())
        return 0.0;
    std::vector<double> sorted = m_samples;
    std::sort(sorted.begin(), sorted.end());
    const std::size_t mid = sorted.size() / 2;
    return sorted.size() % 2 ? sorted[mid] : (sorted[mid - 1] + sorted[mid]) / 2.0;
}

double BenchStats::mean() const
{
    if (m_samples.empty())
        return 0.0;
    return std::accumulate(m_samples.begin(), m_samples.end(), 0.0) / double(m_samples.size());
}
