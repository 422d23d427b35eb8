#include "host/CompositeParamConverter.h"

#include "host/IFilter.h"
#include "host/IValueConverter.h"

CompositeParamConverter::CompositeParamConverter(const std::string& targetName, const std::string& sourceName,
                                                 IMixer* targetMixer, IMixer* sourceMixer)
    : ParamConverterBase(targetName, sourceName, targetMixer, sourceMixer)
{
}

CompositeParamConverter::~CompositeParamConverter() = default;

void CompositeParamConverter::AddFilter(IFilter* filter)
{
    std::unique_ptr<IFilter> owned(filter);
    if (owned)
        m_filters.push_back(std::move(owned));
}

void CompositeParamConverter::AddConverter(IValueConverter* converter)
{
    Append(m_converters, converter);
}

void CompositeParamConverter::Append(Chain& chain, IValueConverter* converter)
{
    std::unique_ptr<IValueConverter> owned(converter);
    if (owned)
        chain.push_back(std::move(owned));
}

bool CompositeParamConverter::FiltersPass(const ConversionContext& context,
                                          const std::vector<int>& dependencies) const
{
    for (const auto& filter : m_filters) {
        if (!filter->Pass(context, dependencies))
            return false;
    }
    return true;
}

bool CompositeParamConverter::RunChain(const Chain& chain, const ConversionContext& context, int& value)
{
    for (const auto& converter : chain) {
        int next = value;
        if (!converter->Convert(context, value, next))
            return false;
        value = next;
    }
    return true;
}

bool CompositeParamConverter::Compute(const ConversionContext& context, const std::vector<int>& dependencies,
                                      int& value)
{
    if (!FiltersPass(context, dependencies))
        return false;
    value = context.sourceValue;
    return RunChain(m_converters, context, value);
}
