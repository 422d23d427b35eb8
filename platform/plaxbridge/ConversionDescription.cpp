#include "ConversionDescription.h"

ConversionDescription::ConversionDescription(FileDescription source, FileDescription target,
                                             std::string sourceMixerId,
                                             std::string targetMixerId)
    : m_source(std::move(source))
    , m_target(std::move(target))
    , m_sourceMixerId(std::move(sourceMixerId))
    , m_targetMixerId(std::move(targetMixerId))
{
}

IFileDescription* ConversionDescription::GetSource() const
{
    return &m_source;
}

IFileDescription* ConversionDescription::GetTarget() const
{
    return &m_target;
}

std::string ConversionDescription::GetSourceMixerId() const
{
    return m_sourceMixerId;
}

std::string ConversionDescription::GetTargetMixerId() const
{
    return m_targetMixerId;
}

void ConversionDescription::SetOption(QString optionName, int state)
{
    m_options.insert(optionName, state);
}

int ConversionDescription::GetOption(QString optionName) const
{
    return m_options.value(optionName, -1);
}
