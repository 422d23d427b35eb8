#include "host/CopyPasteParamConverter.h"

#include "host/IValueConverter.h"

CopyPasteParamConverter::CopyPasteParamConverter(const std::string& targetName, const std::string& sourceName,
                                                 IMixer* targetMixer, IMixer* sourceMixer)
    : ParamConverterBase(targetName, sourceName, targetMixer, sourceMixer)
{
}

CopyPasteParamConverter::~CopyPasteParamConverter() = default;

bool CopyPasteParamConverter::Compute(const ConversionContext& context, const std::vector<int>&, int& value)
{
    value = context.sourceValue;
    return true;
}
