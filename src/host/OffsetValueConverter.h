#pragma once

#include "IValueConverter.h"
#include "UtilitiesApi.h"

// Adds its offset, saturating at the int range.
class UTILITIES_API OffsetValueConverter : public IValueConverter
{
public:
    explicit OffsetValueConverter(int offset);
    ~OffsetValueConverter() override;

    bool Convert(const ConversionContext& context, int input, int& output) override;
    int offset() const { return m_offset; }

private:
    int m_offset;
};
