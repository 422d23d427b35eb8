#pragma once

#include <array>
#include <cstdint>
#include <string>

// Where the host's 16 FX units and 64 velmar-rack plug-ins sit on the
// console: an FX unit fills one or two of 16 FX racks, a plug-in 1 to 8
// neighbouring slots of one of 4 velmar racks of 16 slots. Units are placed
// in host order, each after the one before it.
//
// Two rules: setEffRackNo is the console model's own, where a unit whose
// predecessor has no place gets none either, so one empty unit in the middle
// loses every unit after it. placeAfterPlaced (the default) lets a unit
// without a place block nothing: the next one goes after the last unit that
// has a place.
class RackPlacement
{
public:
    static constexpr int FxUnits = 16;
    static constexpr int FxRacks = 16;
    static constexpr int Plugins = 64;
    static constexpr int VelmarRacks = 4;
    static constexpr int SlotsPerRack = 16;

    // One row of a slot-size table: a type of value-name table 13 (FX) or 14
    // (plug-ins) and the number of racks or slots it fills.
    struct SlotSizeRow {
        std::int32_t value;
        char text[32];
        std::int32_t size;
    };
    static constexpr int FxRowCount = 31;
    static constexpr int VelmarRowCount = 35;

    RackPlacement();

    // Places unit (velmar: plug-in) `index` of `size` after its predecessor;
    // always 0. Indexes outside the unit range change nothing.
    int setEffRackNo(unsigned index, unsigned size, bool velmar);
    // Places unit (plug-in) `index` of `size` after the last unit before it
    // that has a place. A unit of size 0, or one that does not fit, gets no
    // place and the units after it try from the same position.
    void placeAfterPlaced(unsigned index, unsigned size, bool velmar);

    void clearFx();
    void clearVelmar();

    // Whether the loss of a value to unit (plug-in) `index` without a place
    // is told yet: once per unit until forgetDrops(), at every memory reset.
    bool firstDrop(unsigned index, bool velmar);
    void forgetDrops();

    static const SlotSizeRow* fxSlotSizes();
    static const SlotSizeRow* velmarSlotSizes();
    // 0 for a value (or text) without a row.
    static int fxSlotCount(int typeValue);
    static int fxSlotCount(const std::string& typeText);
    static int velmarSlotCount(int typeValue);
    static int velmarSlotCount(const std::string& typeText);

    // -1 = no rack; 0 = no size.
    std::array<std::int32_t, FxUnits> fxSlotStart;
    std::array<std::int32_t, FxUnits> fxSlotSize;
    std::array<std::int32_t, Plugins> velmarRackNo;
    std::array<std::int32_t, Plugins> velmarSlotStart;
    std::array<std::int32_t, Plugins> velmarSlotSize;
    std::array<bool, FxUnits> fxDropTold;
    std::array<bool, Plugins> velmarDropTold;

private:
    bool hasPlace(int index, bool velmar) const;
    void placeFx(unsigned index, unsigned size, int previous);
    void placeVelmar(unsigned index, unsigned size, int previous);
};
