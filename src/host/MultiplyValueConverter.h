#pragma once

#include "IValueConverter.h"
#include "UtilitiesApi.h"

// Multiplies by its factor, saturating at the int range.
class UTILITIES_API MultiplyValueConverter : public IValueConverter
{
public:
    explicit MultiplyValueConverter(int factor);
    ~MultiplyValueConverter() override;

    bool Convert(const ConversionContext& context, int input, int& output) override;
    int factor() const { return m_factor; }

private:
    int m_factor;
};
