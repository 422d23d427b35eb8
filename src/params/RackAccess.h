#pragma once

#include "link/WireMode.h"

#include <QString>

class IParameter;
class MmsStore;
class RackPlacement;

// Value access for FX-rack and velmar-rack parameters: host unit/plug-in
// numbers become racks and slots through the placement. A transient view
// over the mixer's placement and its two "read since last recall/reset"
// flags.
//
// fxSlotsRead is set by whichever comes first after the flags are cleared:
// an FX read (the placement is rebuilt from the console's rack types) or an
// FX type write (the placement is emptied, then the unit placed). The first
// plug-in type write empties the velmar placement and sets velmarSlotsRead.
//
// In strict mode plug-in reads never touch the placement: they read the
// fixed layout of 16 slots per rack, which is where the values were written
// only while every plug-in before the read one fills exactly one slot. By
// default they read where the placement put the plug-in, and the first
// plug-in read after the flags are cleared rebuilds the velmar placement
// from the console, as an FX read does for the FX racks. The default also
// places units past gaps (RackPlacement::placeAfterPlaced) and reads a unit
// without a place as an empty rack: the empty type, every other value 0.
class RackAccess
{
public:
    // Type value of the empty FX type: the answer for units without a rack.
    static constexpr int EmptyFxType = 29;
    static constexpr int EmptyPluginType = 59;

    RackAccess(const MmsStore& store, RackPlacement& placement, bool& fxSlotsRead, bool& velmarSlotsRead,
               WireMode mode = WireMode::Batched);

    int GetValueVelmarRack(IParameter* parameter, int channel, int subIndex);
    void SetValueVelmarRack(IParameter* parameter, int channel, int value, int subIndex);

    // Rebuilds the placement from the console. FX: host unit k is the k-th
    // rack holding an effect. Velmar (not in strict mode, where it does
    // nothing): host plug-in k is the k-th plug-in found scanning the racks
    // slot by slot, each found one's type naming the slots to skip; all 64
    // type texts come in one read. Always 0.
    int getEffRackNo(bool velmar);

    static QString GetAddressNamePlugin(const QString& name, int rack, int slot);

    // Default mode: rebuilds the velmar placement from the console unless a
    // plug-in type write or read since the last recall/reset made it known.
    void knowPluginPlacement();

private:
    void rebuildPlugins();
    void place(int channel, int size, bool velmar);
    // The read address of a plug-in parameter; empty when it has no place.
    QString pluginReadAddress(const QString& name, int channel);

    const MmsStore& m_store;
    RackPlacement& m_placement;
    bool& m_fxSlotsRead;
    bool& m_velmarSlotsRead;
    const bool m_strict;
};
