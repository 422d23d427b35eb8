#include "host/BoundParameter.h"

#include "host/ConverterException.h"
#include "host/IMixer.h"
#include "host/IParameter.h"

#include <new>

void BoundParameter::Release::operator()(IParameter* parameter) const
{
    parameter->Destroy();
}

BoundParameter::BoundParameter(IMixer* mixer, IParameter* parameter)
    : m_parameter(parameter)
    , m_mixer(mixer)
{
    if (!m_parameter)
        throw new ConverterException("converter library: no parameter object given");
    if (!m_mixer)
        throw new ConverterException("converter library: no mixer given for " + m_parameter->GetName());
    m_mixer->LookupParameterRanges(m_parameter->GetName(), m_channelMin, m_channelMax, m_subMin, m_subMax);
}

std::unique_ptr<BoundParameter> BoundParameter::Create(IMixer* mixer, const std::string& name)
{
    if (!mixer)
        throw new ConverterException("converter library: no mixer given for " + name);
    IParameter* parameter = mixer->CreateParameter(name);
    if (!parameter)
        throw new ConverterException("converter library: the mixer made no parameter for " + name);
    return Adopt(mixer, parameter);
}

std::unique_ptr<BoundParameter> BoundParameter::Adopt(IMixer* mixer, IParameter* parameter)
{
    void* memory = nullptr;
    try {
        memory = ::operator new(sizeof(BoundParameter));
    } catch (...) {
        if (parameter)
            parameter->Destroy();
        throw;
    }
    try {
        return std::unique_ptr<BoundParameter>(::new (memory) BoundParameter(mixer, parameter));
    } catch (...) {
        ::operator delete(memory);
        throw;
    }
}

BoundParameter::~BoundParameter() = default;

const std::string& BoundParameter::name() const
{
    return m_parameter->GetName();
}

int BoundParameter::SubIndexAt(int offset) const
{
    if (offset <= 0 || m_subMax <= m_subMin)
        return m_subMin;
    if (offset >= static_cast<long long>(m_subMax) - m_subMin)
        return m_subMax;
    return m_subMin + offset;
}

int BoundParameter::Read(int channel, int subOffset) const
{
    return m_mixer->GetValue(m_parameter.get(), channel, SubIndexAt(subOffset));
}
