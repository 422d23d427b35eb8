#include "convert/ConverterSlots.h"

#include "convert/TORVANParameterConverterFactory.h"
#include "host/CopyPasteParamConverter.h"
#include "host/IMixer.h"

const char* const ConverterSlots::SourceModel = "RQ10";

void ConverterSlots::initFactory(IParameterConverterFactory*& held, IMixer* sourceMixer, bool automixerWhenChosen)
{
    if (!sourceMixer)
        return;
    if (sourceMixer->GetMixerId() != SourceModel)
        return;
    IParameterConverterFactory* fresh = new TORVANParameterConverterFactory(automixerWhenChosen);
    IParameterConverterFactory* old = held;
    held = fresh;
    if (old)
        old->Destroy();
}

void ConverterSlots::destroyFactory(IParameterConverterFactory*& held)
{
    IParameterConverterFactory* old = held;
    held = nullptr;
    if (old)
        old->Destroy();
}

IParameterConverter* ConverterSlots::getConverter(IMixer* self, const std::string& targetName,
                                                  IMixer* sourceMixer, IConversionDescription* description,
                                                  bool flag)
{
    IParameterConverterFactory* factory = self->GetParameterConverterFactory();
    if (!factory)
        return nullptr;
    if (!factory->IsParameterSupported(targetName, description))
        return nullptr;

    const char* mapped = factory->LookupParameterMapping(targetName, flag);
    std::string sourceName = mapped ? std::string(mapped) : targetName;

    std::string remapped = sourceName;
    if (factory->RemapDestParam(targetName, remapped, description))
        sourceName = remapped;

    if (IParameterConverter* converter =
            factory->CreateConverter(targetName, sourceName, self, sourceMixer, flag))
        return converter;
    return new CopyPasteParamConverter(targetName, sourceName, self, sourceMixer);
}

IConverterIterator* ConverterSlots::createIterator(IParameterConverterFactory* held, IParameter* parameter,
                                                   IConversionDescription* description)
{
    if (!held)
        return nullptr;
    return held->CreateIterator(parameter, description);
}
