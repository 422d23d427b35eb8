#pragma once

#include "IParameterConverter.h"
#include "UtilitiesApi.h"

#include <memory>
#include <string>
#include <vector>

class IMixer;
class BoundParameter;
struct ConversionContext;

// Common ground of every converter tree. The constructor makes the target
// parameter with the target mixer's CreateParameter and the source parameter
// with the source mixer's, and takes both mixers' ranges for them: the
// converter runs over the target's channels that the source also has, and
// over the target's sub-indices. Convert reads the source value and the
// dependencies, lets Compute decide, and writes through the target mixer's
// SetValue. The converter owns every parameter it made; Destroy frees it all.
class UTILITIES_API ParamConverterBase : public IParameterConverter
{
public:
    ParamConverterBase(const std::string& targetName, const std::string& sourceName,
                       IMixer* targetMixer, IMixer* sourceMixer);
    ~ParamConverterBase() override;

    ParamConverterBase(const ParamConverterBase&) = delete;
    ParamConverterBase& operator=(const ParamConverterBase&) = delete;

    const std::string& Name() const override;
    bool CanConvert() const override;
    bool Convert(int channel, int subIndex) override;
    int GetStart() const override;
    int GetEnd() const override;
    int SubIndexStart() const override;
    int SubIndexEnd() const override;
    IParameter* GetSourceParameter() const override;
    IParameter* GetTargetParameter() const override;
    const std::vector<std::string>& GetDependentParameters() const override;
    IConverterIterator* GetSourceIterator() override;
    IConverterIterator* GetTargetIterator() override;
    void Destroy() override;

    // A dependency is named by its target-model name. Its value is read from
    // the source mixer, under the name that the target mixer's factory maps
    // it to (the name itself when there is no factory or no mapping), at the
    // converted channel. Values reach the filters in the order added.
    void AddDependency(const std::string& targetModelName);

    const std::string& SourceName() const { return m_sourceName; }
    IMixer* TargetMixer() const { return m_targetMixer; }
    IMixer* SourceMixer() const { return m_sourceMixer; }

protected:
    // The value to write for this channel, from the context's source value
    // and the dependency values. False: write nothing.
    virtual bool Compute(const ConversionContext& context, const std::vector<int>& dependencies,
                         int& value) = 0;

private:
    std::string m_targetName;
    std::string m_sourceName;
    IMixer* m_targetMixer;
    IMixer* m_sourceMixer;
    std::unique_ptr<BoundParameter> m_target;
    std::unique_ptr<BoundParameter> m_source;
    std::vector<std::string> m_dependencyNames;
    std::vector<std::unique_ptr<BoundParameter>> m_dependencies;
    int m_start = 0;
    int m_end = -1;
};
