#pragma once

#include <string>

class IMixer;
class IParameter;
class IParameterConverter;
class IParameterConverterFactory;
class IConversionDescription;
class IConverterIterator;

// The steps of the mixer's conversion slots, so that the mixer only forwards
// its own state. Exceptions from the factory, the library or a mixer pass
// out unchanged.
class ConverterSlots
{
public:
    // The source mixer's model identifier that gets a factory.
    static const char* const SourceModel;

    // initParameterConverterFactory: a null source does nothing; a source whose
    // GetMixerId is exactly SourceModel gets a new factory, which replaces
    // (and destroys) `held`; any other id leaves `held` alone.
    // `automixerWhenChosen` goes to the factory.
    static void initFactory(IParameterConverterFactory*& held, IMixer* sourceMixer,
                            bool automixerWhenChosen = false);

    // Destroys the held factory, if any, and clears the pointer.
    static void destroyFactory(IParameterConverterFactory*& held);

    // GetConverter: the factory comes from self->GetParameterConverterFactory();
    // none, or an unsupported name, gives null. Otherwise the source name is
    // the factory's mapping (or the target name), replaced by RemapDestParam's
    // answer when that returns true; the factory's converter is returned, or
    // else a CopyPasteParamConverter(target, source, self, sourceMixer).
    static IParameterConverter* getConverter(IMixer* self, const std::string& targetName, IMixer* sourceMixer,
                                             IConversionDescription* description, bool flag);

    // CreateIterator: null without a factory, else the factory's CreateIterator.
    static IConverterIterator* createIterator(IParameterConverterFactory* held, IParameter* parameter,
                                              IConversionDescription* description);
};
