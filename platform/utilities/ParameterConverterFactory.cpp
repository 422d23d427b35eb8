#include "host/ParameterConverterFactory.h"

#include "host/IMixer.h"
#include "host/IParameter.h"
#include "host/ParameterRangeIterator.h"

ParameterConverterFactory::ParameterConverterFactory() = default;

ParameterConverterFactory::~ParameterConverterFactory() = default;

void ParameterConverterFactory::Destroy()
{
    delete this;
}

bool ParameterConverterFactory::IsParameterSupported(const std::string&, IConversionDescription*)
{
    return true;
}

const char* ParameterConverterFactory::LookupParameterMapping(const std::string&, bool)
{
    return nullptr;
}

bool ParameterConverterFactory::RemapDestParam(const std::string&, std::string&, IConversionDescription*)
{
    return false;
}

IParameterConverter* ParameterConverterFactory::CreateConverter(const std::string&, const std::string&,
                                                                IMixer*, IMixer*, bool)
{
    return nullptr;
}

IConverterIterator* ParameterConverterFactory::CreateIterator(IParameter* parameter, IConversionDescription*)
{
    if (!parameter)
        return nullptr;
    int channelMin = 0;
    int channelMax = -1;
    int subMin = 0;
    int subMax = -1;
    // A parameter without a mixer has no ranges to walk.
    if (IMixer* mixer = parameter->GetMixer())
        mixer->LookupParameterRanges(parameter->GetName(), channelMin, channelMax, subMin, subMax);
    return new ParameterRangeIterator(channelMin, channelMax, subMin, subMax);
}
