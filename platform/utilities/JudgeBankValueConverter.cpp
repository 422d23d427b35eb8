#include "host/JudgeBankValueConverter.h"

#include "host/BoundParameter.h"
#include "host/IParameter.h"

JudgeBankValueConverter::JudgeBankValueConverter(IMixer* mixer, IParameter* parameter, int typeNumber)
    : m_parameter(BoundParameter::Adopt(mixer, parameter))
    , m_typeNumber(typeNumber)
{
}

JudgeBankValueConverter::~JudgeBankValueConverter() = default;

IParameter* JudgeBankValueConverter::parameter() const
{
    return m_parameter->parameter();
}

bool JudgeBankValueConverter::Convert(const ConversionContext& context, int input, int& output)
{
    if (m_parameter->Read(context.channel, context.subOffset) != m_typeNumber)
        return false;
    output = input;
    return true;
}
