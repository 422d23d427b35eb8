#pragma once

#include <string>
#include <vector>

class IParameter;
class IConverterIterator;

// One converter for one target parameter, in the library's slot order.
// The host owns it and releases it with Destroy.
class IParameterConverter
{
public:
    virtual const std::string& Name() const = 0;
    virtual ~IParameterConverter() = default;
    virtual bool CanConvert() const = 0;
    // Converts one (channel, sub-index) of the target. True when a value was
    // written to the target; false when filters or cases let nothing through.
    virtual bool Convert(int channel, int subIndex) = 0;
    virtual int GetStart() const = 0;        // first channel to convert
    virtual int GetEnd() const = 0;          // last channel to convert (inclusive)
    virtual int SubIndexStart() const = 0;
    virtual int SubIndexEnd() const = 0;
    virtual IParameter* GetSourceParameter() const = 0;
    virtual IParameter* GetTargetParameter() const = 0;
    virtual const std::vector<std::string>& GetDependentParameters() const = 0;
    virtual IConverterIterator* GetSourceIterator() = 0;
    virtual IConverterIterator* GetTargetIterator() = 0;
    virtual void Destroy() = 0;
};
