#pragma once

#include "IParameterConverterFactory.h"
#include "UtilitiesApi.h"

// The library's factory base: no mapping, no remap, no converter, and an
// iterator over a parameter's channel and sub-index ranges.
class UTILITIES_API ParameterConverterFactory : public IParameterConverterFactory
{
public:
    ParameterConverterFactory();
    virtual ~ParameterConverterFactory();

    void Destroy() override;
    bool IsParameterSupported(const std::string& targetName, IConversionDescription* description) override;
    const char* LookupParameterMapping(const std::string& targetName, bool flag) override;
    bool RemapDestParam(const std::string& targetName, std::string& sourceName,
                        IConversionDescription* description) override;
    IParameterConverter* CreateConverter(const std::string& targetName, const std::string& sourceName,
                                         IMixer* targetMixer, IMixer* sourceMixer, bool flag) override;
    IConverterIterator* CreateIterator(IParameter* parameter, IConversionDescription* description) override;
};
