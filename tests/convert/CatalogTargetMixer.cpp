#include "CatalogTargetMixer.h"

#include "convert/ConverterSlots.h"
#include "host/IParameterConverterFactory.h"
#include "host/ParameterNotFoundException.h"
#include "params/ParameterCatalog.h"

CatalogTargetMixer::CatalogTargetMixer()
    : MapMixer("QORA")
{
    rangeHook = [](const std::string& name, Ranges& r) {
        const CatalogEntry* entry = ParameterCatalog::find(name);
        if (!entry)
            return false;
        r = Ranges{entry->channelMin, entry->channelMax, entry->subMin, entry->subMax};
        return true;
    };
}

CatalogTargetMixer::~CatalogTargetMixer()
{
    ConverterSlots::destroyFactory(factory);
}

IParameter* CatalogTargetMixer::CreateParameter(const std::string& name)
{
    if (!ParameterCatalog::find(name))
        throw new ParameterNotFoundException("Parameter Id not found", name, GetMixerId());
    return MapMixer::CreateParameter(name);
}

void CatalogTargetMixer::initParameterConverterFactory(IMixer* sourceMixer)
{
    ConverterSlots::initFactory(factory, sourceMixer);
}

IParameterConverter* CatalogTargetMixer::GetConverter(const std::string& targetName, IMixer* sourceMixer,
                                                      IConversionDescription* description, bool flag)
{
    return ConverterSlots::getConverter(this, targetName, sourceMixer, description, flag);
}

IConverterIterator* CatalogTargetMixer::CreateIterator(IParameter* parameter, IConversionDescription* description)
{
    return ConverterSlots::createIterator(factory, parameter, description);
}
