#include "params/RackPlacement.h"
#include "params/ValueNameTables.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

int fxSize(int value)
{
    if (value >= 0 && value <= 3)
        return 2;
    if (value >= 4 && value <= 20)
        return 1;
    if (value == 21)
        return 2;
    if (value == 22 || value == 23)
        return 1;
    if (value >= 24 && value <= 28)
        return 2;
    return 0;
}

} // namespace

TEST(RackPlacementTables, FxRowsAreTable13WithRackCounts)
{
    const ValueNameEntry* names = ValueNameTables::table(13);
    const RackPlacement::SlotSizeRow* rows = RackPlacement::fxSlotSizes();
    for (int i = 0; i < RackPlacement::FxRowCount; ++i) {
        EXPECT_EQ(rows[i].value, names[i].value) << i;
        EXPECT_STREQ(rows[i].text, names[i].text) << i;
        EXPECT_EQ(rows[i].size, fxSize(rows[i].value)) << i;
    }
    EXPECT_EQ(rows[29].value, 29);
    EXPECT_STREQ(rows[29].text, "");
    EXPECT_EQ(rows[30].value, 30);
    EXPECT_STREQ(rows[30].text, ValueNameTables::Terminator);
}

TEST(RackPlacementTables, VelmarRowsAreTable14WithSlotCounts)
{
    const int expected[33] = {6, 4, 4, 1, 1, 2, 4, 3, 3, 2, 2, 2, 3, 3, 2, 2, 3,
                              3, 3, 3, 4, 4, 8, 8, 2, 2, 2, 2, 2, 2, 3, 3, 4};
    const ValueNameEntry* names = ValueNameTables::table(14);
    const RackPlacement::SlotSizeRow* rows = RackPlacement::velmarSlotSizes();
    for (int i = 0; i < RackPlacement::VelmarRowCount; ++i) {
        EXPECT_EQ(rows[i].value, names[i].value) << i;
        EXPECT_STREQ(rows[i].text, names[i].text) << i;
    }
    for (int v = 0; v < 33; ++v)
        EXPECT_EQ(RackPlacement::velmarSlotCount(v), expected[v]) << v;
    EXPECT_EQ(rows[33].value, 59);
    EXPECT_STREQ(rows[33].text, "");
    EXPECT_EQ(rows[34].value, 60);
    EXPECT_STREQ(rows[34].text, ValueNameTables::Terminator);
}

TEST(RackPlacementTables, LookupsMissToZero)
{
    EXPECT_EQ(RackPlacement::fxSlotCount(29), 0);
    EXPECT_EQ(RackPlacement::fxSlotCount(30), 0);
    EXPECT_EQ(RackPlacement::fxSlotCount(31), 0);
    EXPECT_EQ(RackPlacement::fxSlotCount(-1), 0);
    EXPECT_EQ(RackPlacement::velmarSlotCount(33), 0);
    EXPECT_EQ(RackPlacement::velmarSlotCount(59), 0);
    EXPECT_EQ(RackPlacement::velmarSlotCount(60), 0);

    const ValueNameEntry* names = ValueNameTables::table(13);
    EXPECT_EQ(RackPlacement::fxSlotCount(std::string(names[0].text)), 2);
    EXPECT_EQ(RackPlacement::fxSlotCount(std::string(names[4].text)), 1);
    EXPECT_EQ(RackPlacement::fxSlotCount(std::string(names[21].text)), 2);
    EXPECT_EQ(RackPlacement::fxSlotCount(std::string()), 0);
    EXPECT_EQ(RackPlacement::fxSlotCount(std::string(ValueNameTables::Terminator)), 0);
    // Exact comparison: a prefix or a longer text is another type.
    const std::string first(names[4].text);
    EXPECT_EQ(RackPlacement::fxSlotCount(first.substr(0, first.size() - 1)), 0);
    EXPECT_EQ(RackPlacement::fxSlotCount(first + " "), 0);
}

TEST(RackPlacementFx, EvenSizedEffectsStartOnEvenRacks)
{
    RackPlacement p;
    const unsigned sizes[] = {1, 2, 1, 2};
    for (unsigned i = 0; i < 4; ++i)
        EXPECT_EQ(p.setEffRackNo(i, sizes[i], false), 0);
    EXPECT_EQ(p.fxSlotStart[0], 0);
    EXPECT_EQ(p.fxSlotStart[1], 2);
    EXPECT_EQ(p.fxSlotStart[2], 4);
    EXPECT_EQ(p.fxSlotStart[3], 6);
    EXPECT_EQ(p.fxSlotSize[1], 2);
    EXPECT_EQ(p.fxSlotSize[2], 1);
}

TEST(RackPlacementFx, TwoRackUnitFillsTheLastRacksThenNoRoom)
{
    RackPlacement p;
    for (unsigned i = 0; i < 14; ++i)
        p.setEffRackNo(i, 1, false);
    p.setEffRackNo(14, 2, false);
    p.setEffRackNo(15, 1, false);
    EXPECT_EQ(p.fxSlotStart[13], 13);
    EXPECT_EQ(p.fxSlotStart[14], 14);
    EXPECT_EQ(p.fxSlotSize[14], 2);
    EXPECT_EQ(p.fxSlotStart[15], -1);
    EXPECT_EQ(p.fxSlotSize[15], 0);
}

TEST(RackPlacementFx, TwoRackUnitAfterOddEndDoesNotFit)
{
    RackPlacement p;
    for (unsigned i = 0; i < 15; ++i)
        p.setEffRackNo(i, 1, false);
    // Rack 15 is free but odd: a 2-rack effect would need 16 and 17.
    p.setEffRackNo(15, 2, false);
    EXPECT_EQ(p.fxSlotStart[14], 14);
    EXPECT_EQ(p.fxSlotStart[15], -1);
}

TEST(RackPlacementFx, SizeZeroEndsThePlacement)
{
    RackPlacement p;
    p.setEffRackNo(0, 1, false);
    p.setEffRackNo(1, 1, false);
    p.setEffRackNo(2, 0, false);
    for (unsigned i = 3; i < 16; ++i)
        p.setEffRackNo(i, 1, false);
    EXPECT_EQ(p.fxSlotStart[1], 1);
    for (int i = 2; i < 16; ++i) {
        EXPECT_EQ(p.fxSlotStart[i], -1) << i;
        EXPECT_EQ(p.fxSlotSize[i], 0) << i;
    }
}

TEST(RackPlacementFx, ReplacingUnitZeroRestartsAtRackZero)
{
    RackPlacement p;
    p.setEffRackNo(0, 1, false);
    p.setEffRackNo(0, 2, false);
    EXPECT_EQ(p.fxSlotStart[0], 0);
    EXPECT_EQ(p.fxSlotSize[0], 2);
    p.setEffRackNo(0, 0, false);
    EXPECT_EQ(p.fxSlotStart[0], -1);
}

TEST(RackPlacementVelmar, PluginsPackIntoRacksInOrder)
{
    RackPlacement p;
    const unsigned sizes[] = {6, 4, 4, 4};
    for (unsigned i = 0; i < 4; ++i)
        p.setEffRackNo(i, sizes[i], true);
    EXPECT_EQ(p.velmarRackNo[0], 0);
    EXPECT_EQ(p.velmarSlotStart[0], 0);
    EXPECT_EQ(p.velmarRackNo[1], 0);
    EXPECT_EQ(p.velmarSlotStart[1], 6);
    EXPECT_EQ(p.velmarRackNo[2], 0);
    EXPECT_EQ(p.velmarSlotStart[2], 10);
    EXPECT_EQ(p.velmarRackNo[3], 1);
    EXPECT_EQ(p.velmarSlotStart[3], 0);
    EXPECT_EQ(p.velmarSlotSize[3], 4);
}

TEST(RackPlacementVelmar, NoFifthRack)
{
    RackPlacement p;
    for (unsigned i = 0; i < 8; ++i)
        p.setEffRackNo(i, 8, true);
    EXPECT_EQ(p.velmarRackNo[7], 3);
    EXPECT_EQ(p.velmarSlotStart[7], 8);
    p.setEffRackNo(8, 1, true);
    p.setEffRackNo(9, 1, true);
    EXPECT_EQ(p.velmarRackNo[8], -1);
    EXPECT_EQ(p.velmarSlotStart[8], -1);
    EXPECT_EQ(p.velmarSlotSize[8], 0);
    EXPECT_EQ(p.velmarRackNo[9], -1);
}

TEST(RackPlacementVelmar, ExactFitStaysInTheRack)
{
    RackPlacement p;
    p.setEffRackNo(0, 8, true);
    p.setEffRackNo(1, 8, true);
    p.setEffRackNo(2, 1, true);
    EXPECT_EQ(p.velmarRackNo[1], 0);
    EXPECT_EQ(p.velmarSlotStart[1], 8);
    EXPECT_EQ(p.velmarRackNo[2], 1);
    EXPECT_EQ(p.velmarSlotStart[2], 0);
    p.setEffRackNo(3, 0, true);
    p.setEffRackNo(4, 1, true);
    EXPECT_EQ(p.velmarRackNo[3], -1);
    EXPECT_EQ(p.velmarRackNo[4], -1);
}

TEST(RackPlacement, IndexesOutsideTheUnitsChangeNothing)
{
    RackPlacement p;
    p.setEffRackNo(0, 1, false);
    p.setEffRackNo(0, 1, true);
    const RackPlacement before = p;
    EXPECT_EQ(p.setEffRackNo(16, 1, false), 0);
    EXPECT_EQ(p.setEffRackNo(64, 1, true), 0);
    EXPECT_EQ(p.setEffRackNo(0xFFFFFFFFu, 2, false), 0);
    EXPECT_EQ(p.setEffRackNo(0xFFFFFFFFu, 2, true), 0);
    EXPECT_EQ(p.fxSlotStart, before.fxSlotStart);
    EXPECT_EQ(p.fxSlotSize, before.fxSlotSize);
    EXPECT_EQ(p.velmarRackNo, before.velmarRackNo);
    EXPECT_EQ(p.velmarSlotStart, before.velmarSlotStart);
    EXPECT_EQ(p.velmarSlotSize, before.velmarSlotSize);
}

TEST(RackPlacement, StartsEmpty)
{
    RackPlacement p;
    for (int i = 0; i < RackPlacement::FxUnits; ++i) {
        EXPECT_EQ(p.fxSlotStart[i], -1);
        EXPECT_EQ(p.fxSlotSize[i], 0);
    }
    for (int i = 0; i < RackPlacement::Plugins; ++i) {
        EXPECT_EQ(p.velmarRackNo[i], -1);
        EXPECT_EQ(p.velmarSlotStart[i], -1);
        EXPECT_EQ(p.velmarSlotSize[i], 0);
    }
}
