#include "host/IfThenElseConverter.h"

#include "host/IFilter.h"
#include "host/IValueConverter.h"

IfThenElseConverter::IfThenElseConverter(const std::string& targetName, const std::string& sourceName,
                                         IMixer* targetMixer, IMixer* sourceMixer)
    : CompositeParamConverter(targetName, sourceName, targetMixer, sourceMixer)
{
}

IfThenElseConverter::~IfThenElseConverter() = default;

void IfThenElseConverter::AddCondition(IFilter* condition)
{
    std::unique_ptr<IFilter> owned(condition);
    if (owned)
        m_conditions.push_back(std::move(owned));
}

void IfThenElseConverter::AddIf(IValueConverter* converter)
{
    Append(m_if, converter);
}

void IfThenElseConverter::AddElse(IValueConverter* converter)
{
    Append(m_else, converter);
}

bool IfThenElseConverter::Compute(const ConversionContext& context, const std::vector<int>& dependencies,
                                  int& value)
{
    if (!FiltersPass(context, dependencies))
        return false;
    bool condition = true;
    for (const auto& filter : m_conditions) {
        if (!filter->Pass(context, dependencies)) {
            condition = false;
            break;
        }
    }
    const Chain& branch = condition ? m_if : m_else;
    if (branch.empty())
        return false;
    value = context.sourceValue;
    return RunChain(branch, context, value) && RunChain(converters(), context, value);
}
