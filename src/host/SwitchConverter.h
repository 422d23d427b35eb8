#pragma once

#include "CompositeParamConverter.h"

// A composite whose value comes from the first case whose filter passes: the
// case's value converter runs on the source value, then the converters added
// with AddConverter run on that. No case passing writes nothing. A case with
// a null filter always passes; one with a null value converter copies.
class UTILITIES_API SwitchConverter : public CompositeParamConverter
{
public:
    SwitchConverter(const std::string& targetName, const std::string& sourceName,
                    IMixer* targetMixer, IMixer* sourceMixer);
    ~SwitchConverter() override;

    void AddCase(IFilter* filter, IValueConverter* converter);

protected:
    bool Compute(const ConversionContext& context, const std::vector<int>& dependencies,
                 int& value) override;

private:
    struct Case {
        std::unique_ptr<IFilter> filter;
        std::unique_ptr<IValueConverter> converter;
    };
    std::vector<Case> m_cases;
};
