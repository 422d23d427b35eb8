#pragma once

#include <vector>

// Samples of one measured case, in microseconds.
class BenchStats
{
public:
    void add(double micros) { m_samples.push_back(micros); }
    bool empty() const { return m_samples.empty(); }
    double median() const;
    double min() const;

private:
    std::vector<double> m_samples;
};
