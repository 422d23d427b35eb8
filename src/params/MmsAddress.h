#pragma once

#include <QString>

// Turns a catalogue name (channel element without index) into an MMS
// address. Elements are counted between every "/", empty ones included, so
// element 0 is the empty text before the leading "/". Names too short for a
// rule come back unchanged rather than failing. The editor program forms its
// addresses with the same rules.
class MmsAddress
{
public:
    // Element 2 gets ":" + channel: "/Mixing/InputChannel/Fader/Level/MMS", 7
    // -> "/Mixing/InputChannel:7/Fader/Level/MMS".
    static QString ChannelAddress(const QString& name, int channel);
    // Element 2 gets ":0", element 3 gets ":" + channel (automixer names).
    static QString DuganAddress(const QString& name, int channel);
    // Element 2 gets ":" + rack, element 3 becomes "PlugIn:" + slot.
    static QString PluginSlotAddress(const QString& name, int rack, int slot);
};
