#pragma once

#include "host/ParameterConverterFactory.h"

#include <map>

// Converter factory for an "RQ10" source feeding this console model: names
// the source parameter of every target (the name remap table), builds the
// rule trees of the dynamics, patch point, automixer and effect rack
// parameters, and leaves everything else to the library base. Its value
// tables are fixed once built; the trees it makes point into them, so the
// factory must outlive its converters.
class TORVANParameterConverterFactory : public ParameterConverterFactory
{
public:
    static constexpr int TableCount = 10;

    // `automixerWhenChosen`: see DynamicsRules::Build.
    explicit TORVANParameterConverterFactory(bool automixerWhenChosen = false);

    void Destroy() override;
    bool IsParameterSupported(const std::string& targetName, IConversionDescription* description) override;
    const char* LookupParameterMapping(const std::string& targetName, bool flag) override;
    bool RemapDestParam(const std::string& targetName, std::string& sourceName,
                        IConversionDescription* description) override;
    IParameterConverter* CreateConverter(const std::string& targetName, const std::string& sourceName,
                                         IMixer* targetMixer, IMixer* sourceMixer, bool flag) override;
    IConverterIterator* CreateIterator(IParameter* parameter, IConversionDescription* description) override;

    // Table T<number>; an empty map for a number outside 0..TableCount-1.
    const std::map<int, int>& table(int number) const;

protected:
    ~TORVANParameterConverterFactory() override;

private:
    std::map<int, int> m_tables[TableCount];
    const bool m_automixerWhenChosen;
};
