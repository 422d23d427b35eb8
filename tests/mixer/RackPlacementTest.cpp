#include "params/RackPlacement.h"
#include "params/ValueNameTables.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace {

int fxSize(int value)
{
    if (value <= 3 || value == 21 || (value >= 24 && value <= 28))
        return 2;
    return value <= 23 ? 1 : 0;
}

RackPlacement placeFx(const std::vector<unsigned>& sizes)
{
    RackPlacement p;
    for (unsigned i = 0; i < sizes.size(); ++i)
        p.setEffRackNo(i, sizes[i], false);
    return p;
}

RackPlacement placeVelmar(const std::vector<unsigned>& sizes)
{
    RackPlacement p;
    for (unsigned i = 0; i < sizes.size(); ++i)
        p.setEffRackNo(i, sizes[i], true);
    return p;
}

} // namespace

TEST(RackPlacementTables, RowsFollowTables13And14)
{
    const ValueNameEntry* fxNames = ValueNameTables::table(13);
    const RackPlacement::SlotSizeRow* fx = RackPlacement::fxSlotSizes();
    for (int i = 0; i < RackPlacement::FxRowCount; ++i) {
        EXPECT_EQ(fx[i].value, fxNames[i].value) << i;
        EXPECT_STREQ(fx[i].text, fxNames[i].text) << i;
        EXPECT_EQ(fx[i].size, fxSize(fx[i].value)) << i;
    }
    EXPECT_STREQ(fx[29].text, "");
    EXPECT_STREQ(fx[30].text, ValueNameTables::Terminator);

    const int velmar[33] = {6, 4, 4, 1, 1, 2, 4, 3, 3, 2, 2, 2, 3, 3, 2, 2, 3,
                            3, 3, 3, 4, 4, 8, 8, 2, 2, 2, 2, 2, 2, 3, 3, 4};
    const ValueNameEntry* plugNames = ValueNameTables::table(14);
    const RackPlacement::SlotSizeRow* plug = RackPlacement::velmarSlotSizes();
    for (int i = 0; i < RackPlacement::VelmarRowCount; ++i)
        EXPECT_STREQ(plug[i].text, plugNames[i].text) << i;
    for (int v = 0; v < 33; ++v)
        EXPECT_EQ(RackPlacement::velmarSlotCount(v), velmar[v]) << v;
    EXPECT_EQ(plug[33].value, 59);
    EXPECT_STREQ(plug[34].text, ValueNameTables::Terminator);
}

TEST(RackPlacementTables, LookupsMissToZero)
{
    for (int v : {29, 30, 31, -1})
        EXPECT_EQ(RackPlacement::fxSlotCount(v), 0) << v;
    for (int v : {33, 59, 60})
        EXPECT_EQ(RackPlacement::velmarSlotCount(v), 0) << v;
    const std::string oneRack(ValueNameTables::table(13)[4].text);
    EXPECT_EQ(RackPlacement::fxSlotCount(std::string(ValueNameTables::table(13)[21].text)), 2);
    EXPECT_EQ(RackPlacement::fxSlotCount(oneRack), 1);
    // Exact comparison: a prefix or a longer text is another type.
    for (const std::string& text : {std::string(), std::string(ValueNameTables::Terminator),
                                    oneRack.substr(0, oneRack.size() - 1), oneRack + " "})
        EXPECT_EQ(RackPlacement::fxSlotCount(text), 0) << text;
}

TEST(RackPlacementFx, EvenSizedEffectsStartOnEvenRacks)
{
    const RackPlacement p = placeFx({1, 2, 1, 2});
    const std::array<std::int32_t, 16> starts{0, 2, 4, 6, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    EXPECT_EQ(p.fxSlotStart, starts);
    EXPECT_EQ(p.fxSlotSize[1], 2);
    EXPECT_EQ(p.fxSlotSize[2], 1);
}

TEST(RackPlacementFx, TwoRackUnitAtTheEnd)
{
    // Fourteen 1-rack units leave racks 14 and 15 for a 2-rack unit.
    RackPlacement p = placeFx({1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 1});
    EXPECT_EQ(p.fxSlotStart[14], 14);
    EXPECT_EQ(p.fxSlotSize[14], 2);
    EXPECT_EQ(p.fxSlotStart[15], -1);
    EXPECT_EQ(p.fxSlotSize[15], 0);
    // After fifteen, rack 15 is free but odd: a 2-rack unit does not fit.
    p = placeFx({1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2});
    EXPECT_EQ(p.fxSlotStart[14], 14);
    EXPECT_EQ(p.fxSlotStart[15], -1);
}

TEST(RackPlacementFx, SizeZeroEndsThePlacementAndUnitZeroRestarts)
{
    RackPlacement p = placeFx({1, 1, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1});
    EXPECT_EQ(p.fxSlotStart[1], 1);
    for (int i = 2; i < 16; ++i) {
        EXPECT_EQ(p.fxSlotStart[i], -1) << i;
        EXPECT_EQ(p.fxSlotSize[i], 0) << i;
    }
    p.setEffRackNo(0, 2, false);
    EXPECT_EQ(p.fxSlotStart[0], 0);
    EXPECT_EQ(p.fxSlotSize[0], 2);
    p.setEffRackNo(0, 0, false);
    EXPECT_EQ(p.fxSlotStart[0], -1);
}

TEST(RackPlacementVelmar, PluginsPackIntoRacksInOrder)
{
    RackPlacement p = placeVelmar({6, 4, 4, 4});
    const int rack[] = {0, 0, 0, 1}, slot[] = {0, 6, 10, 0};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(p.velmarRackNo[i], rack[i]) << i;
        EXPECT_EQ(p.velmarSlotStart[i], slot[i]) << i;
    }
    EXPECT_EQ(p.velmarSlotSize[3], 4);

    // An exact fit stays in its rack; a size 0 ends the placement.
    p = placeVelmar({8, 8, 1, 0, 1});
    EXPECT_EQ(p.velmarRackNo[1], 0);
    EXPECT_EQ(p.velmarSlotStart[1], 8);
    EXPECT_EQ(p.velmarRackNo[2], 1);
    EXPECT_EQ(p.velmarSlotStart[2], 0);
    EXPECT_EQ(p.velmarRackNo[3], -1);
    EXPECT_EQ(p.velmarRackNo[4], -1);

    // There is no fifth rack.
    p = placeVelmar({8, 8, 8, 8, 8, 8, 8, 8, 1});
    EXPECT_EQ(p.velmarRackNo[7], 3);
    EXPECT_EQ(p.velmarSlotStart[7], 8);
    EXPECT_EQ(p.velmarRackNo[8], -1);
    EXPECT_EQ(p.velmarSlotStart[8], -1);
    EXPECT_EQ(p.velmarSlotSize[8], 0);
}

TEST(RackPlacement, IndexesOutsideTheUnitsChangeNothing)
{
    RackPlacement p;
    p.setEffRackNo(0, 1, false);
    p.setEffRackNo(0, 1, true);
    const RackPlacement before = p;
    for (unsigned index : {16u, 0xFFFFFFFFu})
        EXPECT_EQ(p.setEffRackNo(index, 2, false), 0);
    for (unsigned index : {64u, 0xFFFFFFFFu})
        EXPECT_EQ(p.setEffRackNo(index, 2, true), 0);
    EXPECT_EQ(p.fxSlotStart, before.fxSlotStart);
    EXPECT_EQ(p.fxSlotSize, before.fxSlotSize);
    EXPECT_EQ(p.velmarRackNo, before.velmarRackNo);
    EXPECT_EQ(p.velmarSlotStart, before.velmarSlotStart);
    EXPECT_EQ(p.velmarSlotSize, before.velmarSlotSize);
}
