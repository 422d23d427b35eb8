#pragma once

#include <QString>

#include <string>

class IParameter;
class MmsStore;
class RackAccess;

// GetValue/SetValue of the mixer: FX and velmar-rack names go to the rack
// access, every other name becomes one MMS address from name and channel.
// Text-valued parameters are translated through the value-name tables.
class ValueAccess
{
public:
    // With `automixerHeld`, an automixer written to GEQ rack 0 stays: later
    // GEQ type writes to rack 0 are refused until the flag is cleared.
    // Without it, the last type written to rack 0 wins.
    ValueAccess(const MmsStore& store, RackAccess& racks, bool* automixerHeld = nullptr);

    // 0 for a value the console cannot serve.
    int GetValue(IParameter* parameter, int channel, int subIndex);
    // A value without a text in the parameter's table is written as integer.
    void SetValue(IParameter* parameter, int channel, int value, int subIndex);

    // Names that GetValue serves through the rack access, not by address.
    static bool isRackName(const std::string& name);
    // How GetValue forms the address of a channel of `name`.
    using AddressMaker = QString (*)(const QString& name, int channel);
    static AddressMaker readAddressMaker(const std::string& name);

private:
    const MmsStore& m_store;
    RackAccess& m_racks;
    bool* m_automixerHeld;
};
