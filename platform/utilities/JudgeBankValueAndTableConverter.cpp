#include "host/JudgeBankValueAndTableConverter.h"

#include "host/CopyPasteValueWithTableConverter.h"
#include "host/BoundParameter.h"
#include "host/IParameter.h"

JudgeBankValueAndTableConverter::JudgeBankValueAndTableConverter(IMixer* mixer, IParameter* parameter, int typeNumber, const std::map<int, int>* table)
    : m_parameter(BoundParameter::Adopt(mixer, parameter))
    , m_typeNumber(typeNumber)
    , m_table(table)
{
}

JudgeBankValueAndTableConverter::~JudgeBankValueAndTableConverter() = default;

IParameter* JudgeBankValueAndTableConverter::parameter() const
{
    return m_parameter->parameter();
}

bool JudgeBankValueAndTableConverter::Convert(const ConversionContext& context, int input, int& output)
{
    if (m_parameter->Read(context.channel, context.subOffset) != m_typeNumber)
        return false;
    return CopyPasteValueWithTableConverter::Lookup(m_table, input, output);
}
