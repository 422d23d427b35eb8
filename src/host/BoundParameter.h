#pragma once

#include "UtilitiesApi.h"

#include <memory>
#include <string>

class IMixer;
class IParameter;

// An IParameter together with the mixer that reads it and the ranges that
// mixer gives for its name. Owns the parameter and releases it with Destroy.
class UTILITIES_API BoundParameter
{
public:
    // Takes ownership of `parameter` at once, so it is released even when
    // the range lookup throws. A null mixer or parameter throws a
    // ConverterException pointer.
    BoundParameter(IMixer* mixer, IParameter* parameter);
    // Makes the parameter with mixer->CreateParameter(name); whatever that
    // throws passes out.
    static std::unique_ptr<BoundParameter> Create(IMixer* mixer, const std::string& name);
    // The heap form of the constructor; `parameter` is released in every
    // failure, including a failed allocation.
    static std::unique_ptr<BoundParameter> Adopt(IMixer* mixer, IParameter* parameter);
    ~BoundParameter();

    BoundParameter(const BoundParameter&) = delete;
    BoundParameter& operator=(const BoundParameter&) = delete;

    IMixer* mixer() const { return m_mixer; }
    IParameter* parameter() const { return m_parameter.get(); }
    const std::string& name() const;
    int channelMin() const { return m_channelMin; }
    int channelMax() const { return m_channelMax; }
    int subMin() const { return m_subMin; }
    int subMax() const { return m_subMax; }

    // The sub-index at `offset` from subMin, clamped into the range.
    int SubIndexAt(int offset) const;
    // The mixer's value of the parameter at `channel`, sub-index SubIndexAt(subOffset).
    int Read(int channel, int subOffset) const;

private:
    struct Release {
        void operator()(IParameter* parameter) const;
    };

    std::unique_ptr<IParameter, Release> m_parameter;
    IMixer* m_mixer;
    int m_channelMin = 0;
    int m_channelMax = -1;
    int m_subMin = 0;
    int m_subMax = -1;
};
