#include "host/SwitchConverter.h"

#include "host/IFilter.h"
#include "host/IValueConverter.h"

SwitchConverter::SwitchConverter(const std::string& targetName, const std::string& sourceName,
                                 IMixer* targetMixer, IMixer* sourceMixer)
    : CompositeParamConverter(targetName, sourceName, targetMixer, sourceMixer)
{
}

SwitchConverter::~SwitchConverter() = default;

void SwitchConverter::AddCase(IFilter* filter, IValueConverter* converter)
{
    Case added{std::unique_ptr<IFilter>(filter), std::unique_ptr<IValueConverter>(converter)};
    m_cases.push_back(std::move(added));
}

bool SwitchConverter::Compute(const ConversionContext& context, const std::vector<int>& dependencies, int& value)
{
    if (!FiltersPass(context, dependencies))
        return false;
    for (const Case& c : m_cases) {
        if (c.filter && !c.filter->Pass(context, dependencies))
            continue;
        value = context.sourceValue;
        if (c.converter) {
            int next = value;
            if (!c.converter->Convert(context, value, next))
                return false;
            value = next;
        }
        return RunChain(converters(), context, value);
    }
    return false;
}
