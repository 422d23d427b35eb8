#include "host/Parameter.h"

#include "host/IMixer.h"

Parameter::Parameter(IMixer* mixer, int id, const std::string& name)
    : m_mixer(mixer)
    , m_id(id)
    , m_name(name)
{
}

Parameter::~Parameter() = default;

void Parameter::Destroy()
{
    delete this;
}

IMixer* Parameter::GetMixer() const
{
    return m_mixer;
}

std::string Parameter::GetMixerId() const
{
    return m_mixer ? m_mixer->GetMixerId() : std::string();
}

IParameter* Parameter::Clone() const
{
    return new Parameter(m_mixer, m_id, m_name);
}

int Parameter::GetId() const
{
    return m_id;
}

const std::string& Parameter::GetName() const
{
    return m_name;
}
