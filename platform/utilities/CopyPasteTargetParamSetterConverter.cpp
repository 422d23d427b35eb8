#include "host/CopyPasteTargetParamSetterConverter.h"

#include "host/BoundParameter.h"
#include "host/IParameter.h"

CopyPasteTargetParamSetterConverter::CopyPasteTargetParamSetterConverter(IMixer* mixer, IParameter* parameter)
    : m_parameter(BoundParameter::Adopt(mixer, parameter))
{
}

CopyPasteTargetParamSetterConverter::~CopyPasteTargetParamSetterConverter() = default;

IParameter* CopyPasteTargetParamSetterConverter::parameter() const
{
    return m_parameter->parameter();
}

bool CopyPasteTargetParamSetterConverter::Convert(const ConversionContext& context, int input, int& output)
{
    static_cast<void>(input);
    output = m_parameter->Read(context.channel, context.subOffset);
    return true;
}
