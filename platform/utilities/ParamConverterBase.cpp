#include "host/ParamConverterBase.h"

#include "host/BoundParameter.h"
#include "host/IMixer.h"
#include "host/IParameterConverterFactory.h"
#include "host/IValueConverter.h"
#include "host/ParameterRangeIterator.h"

#include <algorithm>

ParamConverterBase::ParamConverterBase(const std::string& targetName, const std::string& sourceName,
                                       IMixer* targetMixer, IMixer* sourceMixer)
    : m_targetName(targetName)
    , m_sourceName(sourceName)
    , m_targetMixer(targetMixer)
    , m_sourceMixer(sourceMixer)
{
    // Members hold what is made so far: a throw from the second
    // CreateParameter releases the first.
    m_target = BoundParameter::Create(targetMixer, targetName);
    m_source = BoundParameter::Create(sourceMixer, sourceName);
    m_start = std::max(m_target->channelMin(), m_source->channelMin());
    m_end = std::min(m_target->channelMax(), m_source->channelMax());
}

ParamConverterBase::~ParamConverterBase() = default;

const std::string& ParamConverterBase::Name() const
{
    return m_targetName;
}

bool ParamConverterBase::CanConvert() const
{
    return m_start <= m_end && m_target->subMin() <= m_target->subMax();
}

bool ParamConverterBase::Convert(int channel, int subIndex)
{
    if (channel < m_start || channel > m_end)
        return false;
    if (subIndex < m_target->subMin() || subIndex > m_target->subMax())
        return false;

    ConversionContext context;
    context.channel = channel;
    context.subIndex = subIndex;
    context.subOffset = subIndex - m_target->subMin();
    // A sub-index position the source lacks has no value to convert.
    if (context.subOffset > static_cast<long long>(m_source->subMax()) - m_source->subMin())
        return false;
    context.sourceValue = m_source->Read(channel, context.subOffset);

    std::vector<int> dependencies;
    dependencies.reserve(m_dependencies.size());
    for (const auto& dependency : m_dependencies)
        dependencies.push_back(dependency->Read(channel, context.subOffset));

    int value = context.sourceValue;
    if (!Compute(context, dependencies, value))
        return false;
    m_targetMixer->SetValue(m_target->parameter(), channel, value, subIndex);
    return true;
}

int ParamConverterBase::GetStart() const
{
    return m_start;
}

int ParamConverterBase::GetEnd() const
{
    return m_end;
}

int ParamConverterBase::SubIndexStart() const
{
    return m_target->subMin();
}

int ParamConverterBase::SubIndexEnd() const
{
    return m_target->subMax();
}

IParameter* ParamConverterBase::GetSourceParameter() const
{
    return m_source->parameter();
}

IParameter* ParamConverterBase::GetTargetParameter() const
{
    return m_target->parameter();
}

const std::vector<std::string>& ParamConverterBase::GetDependentParameters() const
{
    return m_dependencyNames;
}

IConverterIterator* ParamConverterBase::GetSourceIterator()
{
    return new ParameterRangeIterator(m_start, m_end, m_source->subMin(), m_source->subMax());
}

IConverterIterator* ParamConverterBase::GetTargetIterator()
{
    return new ParameterRangeIterator(m_start, m_end, m_target->subMin(), m_target->subMax());
}

void ParamConverterBase::Destroy()
{
    delete this;
}

void ParamConverterBase::AddDependency(const std::string& targetModelName)
{
    std::string sourceName = targetModelName;
    if (IParameterConverterFactory* factory = m_targetMixer->GetParameterConverterFactory()) {
        if (const char* mapped = factory->LookupParameterMapping(targetModelName, false))
            sourceName = mapped;
    }
    std::unique_ptr<BoundParameter> dependency = BoundParameter::Create(m_sourceMixer, sourceName);
    m_dependencyNames.reserve(m_dependencyNames.size() + 1);
    m_dependencies.reserve(m_dependencies.size() + 1);
    // Both vectors have room now, so neither push can fail half-way.
    m_dependencyNames.push_back(targetModelName);
    m_dependencies.push_back(std::move(dependency));
}
