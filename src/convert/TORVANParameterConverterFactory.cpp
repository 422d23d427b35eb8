#include "convert/TORVANParameterConverterFactory.h"

#include "convert/DynamicsRules.h"
#include "convert/EffectRackRules.h"
#include "convert/NameRemapTable.h"
#include "convert/ValueTableData.h"

TORVANParameterConverterFactory::TORVANParameterConverterFactory(bool automixerWhenChosen)
    : m_automixerWhenChosen(automixerWhenChosen)
{
    for (int number = 0; number < TableCount; ++number) {
        std::size_t count = 0;
        const ValuePair* pairs = ValueTableData::pairs(number, count);
        for (std::size_t i = 0; i < count; ++i)
            m_tables[number].emplace(pairs[i].key, pairs[i].value);
    }
}

TORVANParameterConverterFactory::~TORVANParameterConverterFactory() = default;

void TORVANParameterConverterFactory::Destroy()
{
    delete this;
}

bool TORVANParameterConverterFactory::IsParameterSupported(const std::string&, IConversionDescription*)
{
    return true;
}

const char* TORVANParameterConverterFactory::LookupParameterMapping(const std::string& targetName, bool flag)
{
    if (const char* source = NameRemapTable::Lookup(targetName))
        return source;
    return ParameterConverterFactory::LookupParameterMapping(targetName, flag);
}

bool TORVANParameterConverterFactory::RemapDestParam(const std::string& targetName, std::string& sourceName,
                                                     IConversionDescription* description)
{
    return ParameterConverterFactory::RemapDestParam(targetName, sourceName, description);
}

IParameterConverter* TORVANParameterConverterFactory::CreateConverter(const std::string& targetName,
                                                                      const std::string& sourceName,
                                                                      IMixer* targetMixer, IMixer* sourceMixer,
                                                                      bool flag)
{
    if (const DynamicsRules::Rule* rule = DynamicsRules::find(targetName))
        return DynamicsRules::Build(*rule, sourceName, targetMixer, sourceMixer, m_automixerWhenChosen);
    if (const EffectRackRules::Rule* rule = EffectRackRules::find(targetName))
        return EffectRackRules::Build(*rule, sourceName, targetMixer, sourceMixer, *this);
    return ParameterConverterFactory::CreateConverter(targetName, sourceName, targetMixer, sourceMixer, flag);
}

IConverterIterator* TORVANParameterConverterFactory::CreateIterator(IParameter* parameter,
                                                                    IConversionDescription* description)
{
    return ParameterConverterFactory::CreateIterator(parameter, description);
}

const std::map<int, int>& TORVANParameterConverterFactory::table(int number) const
{
    static const std::map<int, int> none;
    if (number < 0 || number >= TableCount)
        return none;
    return m_tables[number];
}
