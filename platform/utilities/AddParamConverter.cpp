#include "host/AddParamConverter.h"

#include "SaturatingMath.h"
#include "host/BoundParameter.h"
#include "host/IParameter.h"

#include <cstdint>

AddParamConverter::AddParamConverter(IMixer* mixer, IParameter* parameter)
    : m_parameter(BoundParameter::Adopt(mixer, parameter))
{
}

AddParamConverter::~AddParamConverter() = default;

IParameter* AddParamConverter::parameter() const
{
    return m_parameter->parameter();
}

bool AddParamConverter::Convert(const ConversionContext& context, int input, int& output)
{
    output = saturateToInt(static_cast<std::int64_t>(input) + m_parameter->Read(context.channel, context.subOffset));
    return true;
}
