#pragma once

#include "IValueConverter.h"
#include "UtilitiesApi.h"

// Divides by its divisor, rounding toward zero; a divisor of 0 writes nothing.
class UTILITIES_API DivideValueConverter : public IValueConverter
{
public:
    explicit DivideValueConverter(int divisor);
    ~DivideValueConverter() override;

    bool Convert(const ConversionContext& context, int input, int& output) override;
    int divisor() const { return m_divisor; }

private:
    int m_divisor;
};
