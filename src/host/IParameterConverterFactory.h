#pragma once

#include <string>

class IMixer;
class IParameter;
class IParameterConverter;
class IConversionDescription;
class IConverterIterator;

// Makes the converters of one source/target pairing, in the library's slot
// order.
class IParameterConverterFactory
{
public:
    virtual void Destroy() = 0;                                                          // 0
    virtual bool IsParameterSupported(const std::string& targetName,
                                      IConversionDescription* description) = 0;         // 1
    // The source parameter name feeding `targetName`, or null.
    virtual const char* LookupParameterMapping(const std::string& targetName, bool flag) = 0; // 2
    virtual bool RemapDestParam(const std::string& targetName, std::string& sourceName,
                                IConversionDescription* description) = 0;               // 3
    virtual IParameterConverter* CreateConverter(const std::string& targetName,
                                                 const std::string& sourceName,
                                                 IMixer* targetMixer, IMixer* sourceMixer,
                                                 bool flag) = 0;                         // 4
    virtual IConverterIterator* CreateIterator(IParameter* parameter,
                                               IConversionDescription* description) = 0; // 5

protected:
    ~IParameterConverterFactory() = default;
};
