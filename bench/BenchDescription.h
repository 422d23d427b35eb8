#pragma once

#include "host/IConversionDescription.h"
#include "host/IFileDescription.h"

// A conversion whose source is an RQ10 file: what ResetMixerMemory asks.
// One object serves as the description and as its source file.
class BenchDescription : public IConversionDescription, public IFileDescription
{
public:
    IFileDescription* GetSource() const override;
    IFileDescription* GetTarget() const override;
    std::string GetSourceMixerId() const override;
    std::string GetTargetMixerId() const override;
    void SetOption(QString optionName, int state) override;
    int GetOption(QString optionName) const override;

    std::string GetPath() const override;
    std::string GetFileType() const override;
};
