#pragma once

#include "IParameter.h"
#include "UtilitiesApi.h"

// The library's parameter object: a name and an id bound to a mixer.
class UTILITIES_API Parameter : public IParameter
{
public:
    Parameter(IMixer* mixer, int id, const std::string& name);
    virtual ~Parameter();

    void Destroy() override;
    IMixer* GetMixer() const override;
    std::string GetMixerId() const override;
    IParameter* Clone() const override;
    int GetId() const override;
    const std::string& GetName() const override;

private:
    IMixer* m_mixer;
    int m_id;
    std::string m_name;
};
