#pragma once

#include "ParamConverterBase.h"

class IFilter;
class IValueConverter;

// A converter gated by filters (all must pass) whose value converters run in
// the order added, each on the previous result, starting from the source
// value. Without value converters the source value is copied. Takes
// ownership of every filter and value converter handed to it, also when
// adding fails; a null one is ignored.
class UTILITIES_API CompositeParamConverter : public ParamConverterBase
{
public:
    CompositeParamConverter(const std::string& targetName, const std::string& sourceName,
                            IMixer* targetMixer, IMixer* sourceMixer);
    ~CompositeParamConverter() override;

    void AddFilter(IFilter* filter);
    void AddConverter(IValueConverter* converter);

protected:
    using Chain = std::vector<std::unique_ptr<IValueConverter>>;

    bool Compute(const ConversionContext& context, const std::vector<int>& dependencies,
                 int& value) override;

    bool FiltersPass(const ConversionContext& context, const std::vector<int>& dependencies) const;
    // Runs `chain` on `value` in place; false as soon as one step refuses.
    static bool RunChain(const Chain& chain, const ConversionContext& context, int& value);
    static void Append(Chain& chain, IValueConverter* converter);
    const Chain& converters() const { return m_converters; }

private:
    std::vector<std::unique_ptr<IFilter>> m_filters;
    Chain m_converters;
};
