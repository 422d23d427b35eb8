#pragma once

#include "IConverterIterator.h"
#include "UtilitiesApi.h"

// Walks every (channel, sub-index) pair of two inclusive ranges, channel by
// channel and, within a channel, sub-index by sub-index. An empty range on
// either axis yields nothing. Released with Destroy.
class UTILITIES_API ParameterRangeIterator final : public IConverterIterator
{
public:
    ParameterRangeIterator(int channelMin, int channelMax, int subMin, int subMax);

    void Destroy() override;
    void Reset() override;
    bool Next(int& channel, int& subIndex) override;
    int Count() const override;

private:
    ~ParameterRangeIterator();

    int m_channelMin;
    int m_channelMax;
    int m_subMin;
    int m_subMax;
    int m_channel;
    int m_sub;
    bool m_done;
};
