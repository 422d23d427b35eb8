#pragma once

#include <vector>

// Samples of one measured case, in microseconds. Medians and means tell
// different stories on this virtual machine: a sleeping thread sometimes
// wakes late, which moves the mean and leaves the median.
class BenchStats
{
public:
    void add(double micros) { m_samples.push_back(micros); }
    bool empty() const { return m_samples.empty(); }
    double median() const;
    double mean() const;

private:
    std::vector<double> m_samples;
};
