#include "params/RackPlacement.h"
#include "params/ValueNameTables.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

TEST(RackPlacementTables, RowsFollowTables13And14AndMissesAreZero)
{
    const RackPlacement::SlotSizeRow* fx = RackPlacement::fxSlotSizes();
    for (int i = 0; i < RackPlacement::FxRowCount; ++i)
        EXPECT_TRUE(fx[i].value == ValueNameTables::table(13)[i].value && !strcmp(fx[i].text, ValueNameTables::table(13)[i].text)) << i;
    const RackPlacement::SlotSizeRow* plug = RackPlacement::velmarSlotSizes();
    for (int i = 0; i < RackPlacement::VelmarRowCount; ++i)
        EXPECT_STREQ(plug[i].text, ValueNameTables::table(14)[i].text) << i;
    EXPECT_EQ(plug[33].value, 59);
    // type value -> racks (FX), slots (plug-ins); the empty types fill none.
    const int sizes[][3] = {{0, 2, 6}, {3, 2, 1}, {4, 1, 1}, {21, 2, 4}, {22, 1, 8}, {28, 2, 2}, {29, 0, 2}, {33, 0, 0}, {-1, 0, 0}};
    for (const auto& row : sizes) {
        EXPECT_EQ(RackPlacement::fxSlotCount(row[0]), row[1]) << row[0];
        EXPECT_EQ(RackPlacement::velmarSlotCount(row[0]), row[2]) << row[0];
    }
    EXPECT_EQ(RackPlacement::velmarSlotCount(59), 0);
    // Texts compare exactly: a prefix or a longer text is another type.
    const std::string oneRack(ValueNameTables::table(13)[4].text);
    EXPECT_EQ(RackPlacement::fxSlotCount(oneRack), 1);
    EXPECT_EQ(RackPlacement::fxSlotCount(std::string(ValueNameTables::table(13)[21].text)), 2);
    EXPECT_EQ(RackPlacement::velmarSlotCount(std::string(ValueNameTables::table(14)[22].text)), 8);
    EXPECT_EQ(RackPlacement::velmarSlotCount(std::string(ValueNameTables::table(14)[33].text)), 0);
    for (const std::string& text : {std::string(), std::string(ValueNameTables::Terminator),
                                    oneRack.substr(0, oneRack.size() - 1), oneRack + " "})
        EXPECT_EQ(RackPlacement::fxSlotCount(text), 0) << text;
}

// Units in host order -> where each lands under the console's own rule and
// under the default one: FX rack, or 16 * velmar rack + slot; -1 = no place.
TEST(RackPlacement, UnitsArePlacedInOrderUnderBothRules)
{
    struct Case {
        bool velmar;
        std::vector<unsigned> sizes;
        std::vector<int> strict;
        std::vector<int> afterPlaced;
    };
    const Case cases[] = {
        // Even-sized effects start on even racks.
        {false, {1, 2, 1, 2}, {0, 2, 4, 6}, {0, 2, 4, 6}},
        // Fourteen 1-rack units leave racks 14 and 15 for a 2-rack unit; after
        // fifteen, rack 15 is free but odd.
        {false, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 1},
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, -1},
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, -1}},
        {false, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2},
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, -1},
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, -1}},
        // A gap: the console's rule loses every unit after it.
        {false, {1, 1, 0, 1}, {0, 1, -1, -1}, {0, 1, -1, 2}},
        {false, {2, 0, 1, 2}, {0, -1, -1, -1}, {0, -1, 2, 4}},
        // Too big for what is left, then small enough.
        {false, {2, 2, 2, 2, 2, 2, 2, 1, 2, 1}, {0, 2, 4, 6, 8, 10, 12, 14, -1, -1},
         {0, 2, 4, 6, 8, 10, 12, 14, -1, 15}},
        {true, {6, 4, 4, 4}, {0, 6, 10, 16}, {0, 6, 10, 16}},
        {true, {6, 0, 4, 4}, {0, -1, -1, -1}, {0, -1, 6, 10}},
        // An exact fit stays in its rack.
        {true, {8, 8, 1, 0, 1}, {0, 8, 16, -1, -1}, {0, 8, 16, -1, 17}},
        // Into rack 3; one that fits no further rack, then one that fits rack 3.
        {true, {8, 8, 8, 8, 8, 8, 6, 4, 4, 4, 1}, {0, 8, 16, 24, 32, 40, 48, 54, 58, -1, -1},
         {0, 8, 16, 24, 32, 40, 48, 54, 58, -1, 62}},
        // There is no fifth rack.
        {true, {8, 8, 8, 8, 8, 8, 8, 8, 1}, {0, 8, 16, 24, 32, 40, 48, 56, -1}, {0, 8, 16, 24, 32, 40, 48, 56, -1}},
    };
    for (const Case& c : cases) {
        for (const bool strict : {true, false}) {
            RackPlacement p;
            for (unsigned i = 0; i < c.sizes.size(); ++i) {
                if (strict)
                    p.setEffRackNo(i, c.sizes[i], c.velmar);
                else
                    p.placeAfterPlaced(i, c.sizes[i], c.velmar);
            }
            const std::vector<int>& starts = strict ? c.strict : c.afterPlaced;
            for (unsigned i = 0; i < c.sizes.size(); ++i) {
                SCOPED_TRACE(testing::Message() << (c.velmar ? "plug-in " : "unit ") << i << " of case "
                                                << &c - cases << (strict ? ", strict" : ", after placed"));
                const int size = starts[i] < 0 ? 0 : int(c.sizes[i]);
                if (c.velmar) {
                    EXPECT_EQ(p.velmarRackNo[i], starts[i] < 0 ? -1 : starts[i] / 16);
                    EXPECT_EQ(p.velmarSlotStart[i], starts[i] < 0 ? -1 : starts[i] % 16);
                    EXPECT_EQ(p.velmarSlotSize[i], size);
                } else {
                    EXPECT_EQ(p.fxSlotStart[i], starts[i]);
                    EXPECT_EQ(p.fxSlotSize[i], size);
                }
            }
        }
    }
}

TEST(RackPlacement, UnitZeroRestartsAndOutsideIndexesChangeNothing)
{
    RackPlacement p;
    p.setEffRackNo(0, 1, false);
    p.setEffRackNo(1, 1, false);
    p.setEffRackNo(0, 2, false);
    EXPECT_EQ(p.fxSlotStart[0], 0);
    EXPECT_EQ(p.fxSlotSize[0], 2);
    p.setEffRackNo(0, 1, true);
    const RackPlacement before = p;
    for (unsigned index : {16u, 0xFFFFFFFFu})
        EXPECT_EQ(p.setEffRackNo(index, 2, false), 0);
    for (unsigned index : {64u, 0xFFFFFFFFu})
        EXPECT_EQ(p.setEffRackNo(index, 2, true), 0);
    EXPECT_TRUE(p.fxSlotStart == before.fxSlotStart && p.fxSlotSize == before.fxSlotSize);
    EXPECT_TRUE(p.velmarRackNo == before.velmarRackNo && p.velmarSlotStart == before.velmarSlotStart &&
                p.velmarSlotSize == before.velmarSlotSize);
}
