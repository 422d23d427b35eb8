#pragma once

#include "IValueConverter.h"
#include "UtilitiesApi.h"

// Passes the previous result on unchanged.
class UTILITIES_API CopyValueConverter : public IValueConverter
{
public:
    CopyValueConverter();
    ~CopyValueConverter() override;

    bool Convert(const ConversionContext& context, int input, int& output) override;
};
