#pragma once

#include "CompositeParamConverter.h"

// A composite that, once its filters pass, runs the if-branch when every
// condition passes (no condition counts as passing) and the else-branch
// otherwise; then the converters added with AddConverter run on the branch's
// result. A branch runs its converters in the order added on the source
// value; a branch without converters writes nothing.
class UTILITIES_API IfThenElseConverter : public CompositeParamConverter
{
public:
    IfThenElseConverter(const std::string& targetName, const std::string& sourceName,
                        IMixer* targetMixer, IMixer* sourceMixer);
    ~IfThenElseConverter() override;

    void AddCondition(IFilter* condition);
    void AddIf(IValueConverter* converter);
    void AddElse(IValueConverter* converter);

protected:
    bool Compute(const ConversionContext& context, const std::vector<int>& dependencies,
                 int& value) override;

private:
    std::vector<std::unique_ptr<IFilter>> m_conditions;
    Chain m_if;
    Chain m_else;
};
