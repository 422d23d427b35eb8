#include "params/RackPlacement.h"

#include "params/ValueNameTables.h"

#include <cstring>

namespace {

constexpr int FxTypeTable = 13;
constexpr int VelmarTypeTable = 14;

// Racks filled per row of table 13: rows 0..28 are the effect types, row 29
// the empty type, row 30 the terminator.
constexpr std::int32_t FxSlots[RackPlacement::FxRowCount] = {
    2, 2, 2, 2,                                         // 0..3
    1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, // 4..20
    2,                                                  // 21
    1, 1,                                               // 22, 23
    2, 2, 2, 2, 2,                                      // 24..28
    0,                                                  // empty type
    0,                                                  // terminator
};

// Slots filled per row of table 14: rows 0..32 are the plug-in types, row 33
// the empty type (value 59), row 34 the terminator.
constexpr std::int32_t VelmarSlots[RackPlacement::VelmarRowCount] = {
    6,             // 0
    4, 4,          // 1, 2
    1, 1,          // 3, 4
    2,             // 5
    4,             // 6
    3, 3,          // 7, 8
    2, 2, 2,       // 9..11
    3, 3,          // 12, 13
    2, 2,          // 14, 15
    3, 3, 3, 3,    // 16..19
    4, 4,          // 20, 21
    8, 8,          // 22, 23
    2, 2, 2, 2, 2, 2, // 24..29
    3, 3,          // 30, 31
    4,             // 32
    0,             // empty type
    0,             // terminator
};

template <int Rows>
struct SlotSizeTable {
    RackPlacement::SlotSizeRow rows[Rows];

    SlotSizeTable(int tableNumber, const std::int32_t (&sizes)[Rows])
    {
        const ValueNameEntry* source = ValueNameTables::table(tableNumber);
        for (int i = 0; i < Rows; ++i) {
            rows[i].value = source[i].value;
            std::memcpy(rows[i].text, source[i].text, sizeof rows[i].text);
            rows[i].text[sizeof rows[i].text - 1] = '\0';
            rows[i].size = sizes[i];
        }
    }
};

const SlotSizeTable<RackPlacement::FxRowCount>& fxTable()
{
    static const SlotSizeTable<RackPlacement::FxRowCount> table(FxTypeTable, FxSlots);
    return table;
}

const SlotSizeTable<RackPlacement::VelmarRowCount>& velmarTable()
{
    static const SlotSizeTable<RackPlacement::VelmarRowCount> table(VelmarTypeTable, VelmarSlots);
    return table;
}

// Copied while the module loads, before any host call.
const bool tablesCopied = (fxTable(), velmarTable(), true);

int slotsByValue(const RackPlacement::SlotSizeRow* rows, int count, int value)
{
    for (int i = 0; i < count; ++i) {
        if (rows[i].value == value)
            return rows[i].size;
    }
    return 0;
}

// Exact comparison, up to and including the terminator row.
int slotsByText(const RackPlacement::SlotSizeRow* rows, int count, const std::string& text)
{
    for (int i = 0; i < count; ++i) {
        if (std::strlen(rows[i].text) == text.size() && std::memcmp(rows[i].text, text.data(), text.size()) == 0)
            return rows[i].size;
    }
    return 0;
}

} // namespace

RackPlacement::RackPlacement()
{
    (void)tablesCopied;
    clearFx();
    clearVelmar();
    forgetDrops();
}

bool RackPlacement::firstDrop(unsigned index, bool velmar)
{
    bool* told = nullptr;
    if (velmar && index < static_cast<unsigned>(Plugins))
        told = &velmarDropTold[index];
    else if (!velmar && index < static_cast<unsigned>(FxUnits))
        told = &fxDropTold[index];
    if (!told || *told)
        return false;
    *told = true;
    return true;
}

void RackPlacement::forgetDrops()
{
    fxDropTold.fill(false);
    velmarDropTold.fill(false);
}

void RackPlacement::clearFx()
{
    fxSlotStart.fill(-1);
    fxSlotSize.fill(0);
}

void RackPlacement::clearVelmar()
{
    velmarRackNo.fill(-1);
    velmarSlotStart.fill(-1);
    velmarSlotSize.fill(0);
}

int RackPlacement::setEffRackNo(unsigned index, unsigned size, bool velmar)
{
    if (index >= static_cast<unsigned>(velmar ? Plugins : FxUnits))
        return 0;
    const int previous = static_cast<int>(index) - 1;
    const bool previousPlaced = previous < 0 || hasPlace(previous, velmar);
    // A unit whose predecessor has no place gets none either.
    const unsigned placeable = previousPlaced ? size : 0;
    if (velmar)
        placeVelmar(index, placeable, previous);
    else
        placeFx(index, placeable, previous);
    return 0;
}

void RackPlacement::placeAfterPlaced(unsigned index, unsigned size, bool velmar)
{
    if (index >= static_cast<unsigned>(velmar ? Plugins : FxUnits))
        return;
    int previous = static_cast<int>(index) - 1;
    while (previous >= 0 && !hasPlace(previous, velmar))
        --previous;
    if (velmar)
        placeVelmar(index, size, previous);
    else
        placeFx(index, size, previous);
}

bool RackPlacement::hasPlace(int index, bool velmar) const
{
    return (velmar ? velmarRackNo[index] : fxSlotStart[index]) != -1;
}

// `previous`: the unit to place after, -1 to start at the first rack.
void RackPlacement::placeFx(unsigned i, unsigned n, int previous)
{
    std::int32_t start = previous < 0 ? 0 : fxSlotStart[previous] + fxSlotSize[previous];
    // An effect of even size starts on an even rack.
    if (start % 2 == 1 && n % 2 == 0)
        ++start;
    if (n == 0 || start + static_cast<std::int64_t>(n) > FxRacks) {
        fxSlotStart[i] = -1;
        fxSlotSize[i] = 0;
        return;
    }
    fxSlotStart[i] = start;
    fxSlotSize[i] = static_cast<std::int32_t>(n);
}

void RackPlacement::placeVelmar(unsigned i, unsigned n, int previous)
{
    std::int32_t rack = 0;
    std::int32_t slot = 0;
    if (previous >= 0) {
        rack = velmarRackNo[previous];
        slot = velmarSlotStart[previous] + velmarSlotSize[previous];
        // One that does not fit behind its predecessor opens the next rack.
        if (slot + static_cast<std::int64_t>(n) > SlotsPerRack) {
            ++rack;
            slot = 0;
        }
    }
    if (n == 0 || n > static_cast<unsigned>(SlotsPerRack) || rack >= VelmarRacks) {
        velmarRackNo[i] = -1;
        velmarSlotStart[i] = -1;
        velmarSlotSize[i] = 0;
        return;
    }
    velmarRackNo[i] = rack;
    velmarSlotStart[i] = slot;
    velmarSlotSize[i] = static_cast<std::int32_t>(n);
}

const RackPlacement::SlotSizeRow* RackPlacement::fxSlotSizes()
{
    return fxTable().rows;
}

const RackPlacement::SlotSizeRow* RackPlacement::velmarSlotSizes()
{
    return velmarTable().rows;
}

int RackPlacement::fxSlotCount(int typeValue)
{
    return slotsByValue(fxSlotSizes(), FxRowCount, typeValue);
}

int RackPlacement::velmarSlotCount(int typeValue)
{
    return slotsByValue(velmarSlotSizes(), VelmarRowCount, typeValue);
}

int RackPlacement::fxSlotCount(const std::string& typeText)
{
    return slotsByText(fxSlotSizes(), FxRowCount, typeText);
}

int RackPlacement::velmarSlotCount(const std::string& typeText)
{
    return slotsByText(velmarSlotSizes(), VelmarRowCount, typeText);
}
