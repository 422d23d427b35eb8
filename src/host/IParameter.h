#pragma once

#include <string>

class IMixer;

// A parameter object handed to the host. Slots 4 and 5 are the ones the
// plug-in calls; the host releases parameters through Destroy.
class IParameter
{
public:
    virtual void Destroy() = 0;                        // 0
    virtual IMixer* GetMixer() const = 0;              // 1
    virtual std::string GetMixerId() const = 0;        // 2
    virtual IParameter* Clone() const = 0;             // 3
    virtual int GetId() const = 0;                     // 4
    virtual const std::string& GetName() const = 0;    // 5

protected:
    ~IParameter() = default;
};
