#include "MapMixer.h"

#include "host/Parameter.h"
#include "host/ParameterNotFoundException.h"

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
