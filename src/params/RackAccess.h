#pragma once

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
// plug-in type write empties the velmar placement and sets velmarSlotsRead;
// plug-in reads never touch the placement.
class RackAccess
{
public:
    // Type value of the empty FX type: the answer for units without a rack.
    static constexpr int EmptyFxType = 29;

    RackAccess(const MmsStore& store, RackPlacement& placement, bool& fxSlotsRead, bool& velmarSlotsRead);

    int GetValueVelmarRack(IParameter* parameter, int channel, int subIndex);
    void SetValueVelmarRack(IParameter* parameter, int channel, int value, int subIndex);

    // Rebuilds the FX placement from the type texts of the 16 FX racks: host
    // unit k is the k-th rack holding an effect. Velmar placement is never
    // rebuilt (velmar = true does nothing). Always 0.
    int getEffRackNo(bool velmar);

    static QString GetAddressNamePlugin(const QString& name, int rack, int slot);

private:
    const MmsStore& m_store;
    RackPlacement& m_placement;
    bool& m_fxSlotsRead;
    bool& m_velmarSlotsRead;
};
