#pragma once

#include "IValueConverter.h"
#include "UtilitiesApi.h"

#include <memory>

class IMixer;
class IParameter;
class BoundParameter;

// Yields `mixer`'s value of `parameter` at the converted channel.
// Owns `parameter` from the moment of construction, also when construction
// throws; a null mixer or parameter throws a ConverterException pointer.
class UTILITIES_API CopyPasteTargetParamSetterConverter : public IValueConverter
{
public:
    CopyPasteTargetParamSetterConverter(IMixer* mixer, IParameter* parameter);
    ~CopyPasteTargetParamSetterConverter() override;

    bool Convert(const ConversionContext& context, int input, int& output) override;
    IParameter* parameter() const;

private:
    std::unique_ptr<BoundParameter> m_parameter;
};
