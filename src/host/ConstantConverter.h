#pragma once

#include "IValueConverter.h"
#include "UtilitiesApi.h"

// Yields its constant whatever came before.
class UTILITIES_API ConstantConverter : public IValueConverter
{
public:
    explicit ConstantConverter(int value);
    ~ConstantConverter() override;

    bool Convert(const ConversionContext& context, int input, int& output) override;
    int value() const { return m_value; }

private:
    int m_value;
};
