#include "MapMixer.h"

#include "host/Parameter.h"
#include "host/ParameterNotFoundException.h"

#include <utility>

namespace {

// A Parameter that keeps its mixer's count of live parameters.
class CountedParameter : public Parameter
{
public:
    CountedParameter(MapMixer* mixer, const std::string& name)
        : Parameter(mixer, 1, name)
        , m_owner(mixer)
    {
        ++m_owner->liveParameters;
        ++m_owner->createdParameters;
    }
    ~CountedParameter() override { --m_owner->liveParameters; }
    IParameter* Clone() const override { return new CountedParameter(m_owner, GetName()); }

private:
    MapMixer* m_owner;
};

} // namespace

MapMixer::MapMixer(std::string id, Ranges defaults)
    : m_id(std::move(id))
    , m_defaults(defaults)
{
}

MapMixer::~MapMixer() = default;

void MapMixer::set(const std::string& name, int channel, int value, int subIndex)
{
    m_values[Key(name, channel, subIndex)] = value;
}

int MapMixer::get(const std::string& name, int channel, int subIndex) const
{
    const auto found = m_values.find(Key(name, channel, subIndex));
    return found == m_values.end() ? 0 : found->second;
}

bool MapMixer::has(const std::string& name, int channel, int subIndex) const
{
    return m_values.count(Key(name, channel, subIndex)) != 0;
}

void MapMixer::setRanges(const std::string& name, Ranges ranges)
{
    m_ranges[name] = ranges;
}

void MapMixer::Destroy()
{
    delete this;
}

IParameterConverter* MapMixer::GetConverter(const std::string&, IMixer*, IConversionDescription*, bool)
{
    return nullptr;
}

std::string MapMixer::GetMixerId()
{
    return m_id;
}

IParameter* MapMixer::CreateParameter(const std::string& name)
{
    if (refused.count(name))
        throw new ParameterNotFoundException("Parameter Id not found", name, m_id);
    return new CountedParameter(this, name);
}

void MapMixer::LookupParameterRanges(const std::string& name, int& channelMin, int& channelMax, int& subMin,
                                     int& subMax)
{
    Ranges r = m_defaults;
    const auto found = m_ranges.find(name);
    if (found != m_ranges.end())
        r = found->second;
    if (rangeHook && !rangeHook(name, r))
        throw new std::exception();
    channelMin = r.channelMin;
    channelMax = r.channelMax;
    subMin = r.subMin;
    subMax = r.subMax;
}

IConverterIterator* MapMixer::CreateIterator(IParameter*, IConversionDescription*)
{
    return nullptr;
}

int MapMixer::GetValue(IParameter* parameter, int channel, int subIndex)
{
    ++reads;
    return get(parameter->GetName(), channel, subIndex);
}

void MapMixer::SetValue(IParameter* parameter, int channel, int value, int subIndex)
{
    writes.push_back(Write{parameter->GetName(), channel, subIndex, value});
    set(parameter->GetName(), channel, value, subIndex);
}
