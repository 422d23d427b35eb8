#pragma once

#include "FileDescription.h"
#include "host/IConversionDescription.h"

#include <QHash>
#include <QString>

#include <string>

// The host's description of a running conversion: source and target files
// and mixers, and the conversion options. An option that was never set is
// not offered (-1).
class ConversionDescription final : public IConversionDescription
{
public:
    ConversionDescription(FileDescription source, FileDescription target,
                          std::string sourceMixerId, std::string targetMixerId);

    IFileDescription* GetSource() const override;
    IFileDescription* GetTarget() const override;
    std::string GetSourceMixerId() const override;
    std::string GetTargetMixerId() const override;
    void SetOption(QString optionName, int state) override;
    int GetOption(QString optionName) const override;

private:
    // The interface hands out non-const pointers from const slots.
    mutable FileDescription m_source;
    mutable FileDescription m_target;
    std::string m_sourceMixerId;
    std::string m_targetMixerId;
    QHash<QString, int> m_options;
};
