#include "convert/RuleBuilder.h"

#include "host/AddParamConverter.h"
#include "host/CopyPasteTargetParamSetterConverter.h"
#include "host/DependencyFilter.h"
#include "host/IMixer.h"
#include "host/IParameter.h"
#include "host/IParameterConverter.h"
#include "host/JudgeBankValueAndTableConverter.h"
#include "host/JudgeBankValueConverter.h"

#include <vector>

namespace {

struct ParameterRelease {
    void operator()(IParameter* parameter) const { parameter->Destroy(); }
};
using ParameterPtr = std::unique_ptr<IParameter, ParameterRelease>;

} // namespace

void RuleBuilder::Release::operator()(IParameterConverter* converter) const
{
    converter->Destroy();
}

RuleBuilder::FilterPtr RuleBuilder::setFilter(const int* values, int count)
{
    return FilterPtr(new DependencyFilter(std::vector<int>(values, values + count), true, 0));
}

// The converters adopt the parameter in their constructor, even when that
// throws; until the allocation of the converter succeeded, `parameter` owns it.
RuleBuilder::ConverterPtr RuleBuilder::parameterValue(IMixer* mixer, const std::string& name)
{
    ParameterPtr parameter(mixer->CreateParameter(name));
    return ConverterPtr(new CopyPasteTargetParamSetterConverter(mixer, parameter.release()));
}

RuleBuilder::ConverterPtr RuleBuilder::addParameter(IMixer* mixer, const std::string& name)
{
    ParameterPtr parameter(mixer->CreateParameter(name));
    return ConverterPtr(new AddParamConverter(mixer, parameter.release()));
}

RuleBuilder::ConverterPtr RuleBuilder::bankJudge(IMixer* mixer, const std::string& name, int typeNumber,
                                                 const std::map<int, int>* table)
{
    ParameterPtr parameter(mixer->CreateParameter(name));
    if (table)
        return ConverterPtr(new JudgeBankValueAndTableConverter(mixer, parameter.release(), typeNumber, table));
    return ConverterPtr(new JudgeBankValueConverter(mixer, parameter.release(), typeNumber));
}
