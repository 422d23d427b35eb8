#include "host/ParameterRangeIterator.h"

ParameterRangeIterator::ParameterRangeIterator(int channelMin, int channelMax, int subMin, int subMax)
    : m_channelMin(channelMin)
    , m_channelMax(channelMax)
    , m_subMin(subMin)
    , m_subMax(subMax)
{
    Reset();
}

ParameterRangeIterator::~ParameterRangeIterator() = default;

void ParameterRangeIterator::Destroy()
{
    delete this;
}

void ParameterRangeIterator::Reset()
{
    m_channel = m_channelMin;
    m_sub = m_subMin;
    m_done = m_channelMin > m_channelMax || m_subMin > m_subMax;
}

bool ParameterRangeIterator::Next(int& channel, int& subIndex)
{
    if (m_done)
        return false;
    channel = m_channel;
    subIndex = m_sub;
    // Compare before incrementing: a range may end at INT_MAX.
    if (m_sub < m_subMax) {
        ++m_sub;
    } else if (m_channel < m_channelMax) {
        m_sub = m_subMin;
        ++m_channel;
    } else {
        m_done = true;
    }
    return true;
}

int ParameterRangeIterator::Count() const
{
    if (m_channelMin > m_channelMax || m_subMin > m_subMax)
        return 0;
    const long long count = (static_cast<long long>(m_channelMax) - m_channelMin + 1)
        * (static_cast<long long>(m_subMax) - m_subMin + 1);
    return count > 0x7fffffff ? 0x7fffffff : static_cast<int>(count);
}
