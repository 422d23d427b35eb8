#pragma once

#include <QString>
#include <string>

class IFileDescription;

// The host's description of the running conversion.
class IConversionDescription
{
public:
    virtual IFileDescription* GetSource() const = 0;           // 0
    virtual IFileDescription* GetTarget() const = 0;           // 1
    virtual std::string GetSourceMixerId() const = 0;          // 2
    virtual std::string GetTargetMixerId() const = 0;          // 3
    virtual void SetOption(QString optionName, int state) = 0; // 4
    // -1 when the option is not offered, 1 when it is selected, 0 otherwise.
    virtual int GetOption(QString optionName) const = 0;       // 5

protected:
    ~IConversionDescription() = default;
};
