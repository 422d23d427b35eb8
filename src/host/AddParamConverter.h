#pragma once

#include "IValueConverter.h"
#include "UtilitiesApi.h"

#include <memory>

class IMixer;
class IParameter;
class BoundParameter;

// Adds `mixer`'s value of `parameter` at the converted channel, saturating at
// the int range.
// Owns `parameter` from the moment of construction, also when construction
// throws; a null mixer or parameter throws a ConverterException pointer.
class UTILITIES_API AddParamConverter : public IValueConverter
{
public:
    AddParamConverter(IMixer* mixer, IParameter* parameter);
    ~AddParamConverter() override;

    bool Convert(const ConversionContext& context, int input, int& output) override;
    IParameter* parameter() const;

private:
    std::unique_ptr<BoundParameter> m_parameter;
};
