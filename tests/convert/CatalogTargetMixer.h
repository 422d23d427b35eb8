#pragma once

#include "MapMixer.h"

// An in-test target mixer: names and ranges are those of the parameter
// catalogue, values live in memory, and the four conversion slots run the
// plug-in's own steps (ConverterSlots) on a factory it holds.
class CatalogTargetMixer : public MapMixer
{
public:
    CatalogTargetMixer();
    ~CatalogTargetMixer() override;

    IParameter* CreateParameter(const std::string& name) override;
    void initParameterConverterFactory(IMixer* sourceMixer) override;
    IParameterConverter* GetConverter(const std::string& targetName, IMixer* sourceMixer,
                                      IConversionDescription* description, bool flag) override;
    IConverterIterator* CreateIterator(IParameter* parameter, IConversionDescription* description) override;
};
