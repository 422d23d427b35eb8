#pragma once

#include "ParamConverterBase.h"

// Writes the source value unchanged.
class UTILITIES_API CopyPasteParamConverter : public ParamConverterBase
{
public:
    CopyPasteParamConverter(const std::string& targetName, const std::string& sourceName,
                            IMixer* targetMixer, IMixer* sourceMixer);
    ~CopyPasteParamConverter() override;

protected:
    bool Compute(const ConversionContext& context, const std::vector<int>& dependencies,
                 int& value) override;
};
