#include "FakeMmsStore.h"

#include "host/Parameter.h"
#include "params/RackAccess.h"
#include "params/RackPlacement.h"
#include "params/ValueNameTables.h"

#include <gtest/gtest.h>

namespace {

const char FxType[] = "/FX/FX/Param:0/PluginName:0/MMS";
const char FxValue3[] = "/FX/FX/Param:0/Bank:0/Value:3/MMS";
const char FxSlotSize[] = "/FX/FX/Param:0/SlotSize:0/MMS";
const char PluginType[] = "/VelmarRack/VelmarRack2/PlugIn:0/PluginName/MMS";
const char PluginSlotSize[] = "/VelmarRack/VelmarRack2/PlugIn:0/SlotSize/MMS";
const char PluginBypass[] = "/VelmarRack/VelmarRack2/PlugIn:0/LR:0/Bypass:0/MMS";

QString rackType(int rack)
{
    return QStringLiteral("/FX/FX:%1/Param:0/PluginName:0").arg(rack);
}

const char* fxTypeText(int value)
{
    return ValueNameTables::table(13)[value].text;
}

struct Racks {
    FakeMmsStore store;
    RackPlacement placement;
    bool fxRead = false;
    bool velmarRead = false;
    RackAccess access{store, placement, fxRead, velmarRead};

    int get(const char* name, int channel, int sub = 0)
    {
        Parameter p(nullptr, 705, name);
        return access.GetValueVelmarRack(&p, channel, sub);
    }
    void set(const char* name, int channel, int value, int sub = 0)
    {
        Parameter p(nullptr, 705, name);
        access.SetValueVelmarRack(&p, channel, value, sub);
    }
    // Every rack empty, as a reset console has them.
    void emptyRacks()
    {
        for (int r = 0; r < 16; ++r)
            store.putText(rackType(r), "");
    }
};

} // namespace

TEST(RackAccessFx, FirstReadRebuildsThePlacementFromTheConsole)
{
    Racks r;
    r.emptyRacks();
    r.store.putText(rackType(0), fxTypeText(0));  // 2 racks
    r.store.putText(rackType(2), fxTypeText(4));  // 1 rack
    r.store.putText(rackType(5), fxTypeText(21)); // 2 racks
    r.store.putInt("/FX/FX:2/Param:0/Bank:0/Value:3/MMS", 77);

    EXPECT_EQ(r.get(FxValue3, 1), 77);
    EXPECT_TRUE(r.fxRead);
    EXPECT_EQ(r.placement.fxSlotStart[0], 0);
    EXPECT_EQ(r.placement.fxSlotSize[0], 2);
    EXPECT_EQ(r.placement.fxSlotStart[1], 2);
    EXPECT_EQ(r.placement.fxSlotSize[1], 1);
    EXPECT_EQ(r.placement.fxSlotStart[2], 5);
    EXPECT_EQ(r.placement.fxSlotSize[2], 2);
    for (int u = 3; u < 16; ++u)
        EXPECT_EQ(r.placement.fxSlotStart[u], -1) << u;
    // 16 rack types, then the value itself.
    ASSERT_EQ(r.store.reads.size(), 17);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(r.store.reads[i], rackType(i));
    EXPECT_EQ(r.store.reads[16], "/FX/FX:2/Param:0/Bank:0/Value:3/MMS");
}

TEST(RackAccessFx, UnplacedUnitReads29WithoutAskingForTheValue)
{
    Racks r;
    r.emptyRacks();
    r.store.putText(rackType(3), fxTypeText(7));
    r.store.putText("/FX/FX:3/Param:0/PluginName:0/MMS", fxTypeText(7));
    EXPECT_EQ(r.get(FxValue3, 1), RackAccess::EmptyFxType);
    EXPECT_EQ(r.get(FxType, 5), 29);
    EXPECT_EQ(r.store.reads.size(), 16); // the rebuild only, once
    // Unit 0 is the effect at rack 3; its type reads back through table 13.
    EXPECT_EQ(r.get(FxType, 0), 7);
    EXPECT_EQ(r.store.reads.last(), "/FX/FX:3/Param:0/PluginName:0/MMS");
}

TEST(RackAccessFx, UnreadableRackTypesCountAsEmpty)
{
    Racks r;
    // Rack 0 unreadable, rack 1 not text, rack 2 unknown text, rack 3 an effect.
    r.store.putInt(rackType(1), 4);
    r.store.putText(rackType(2), "NO SUCH EFFECT");
    r.store.putText(rackType(3), fxTypeText(10));
    r.get(FxValue3, 0);
    EXPECT_EQ(r.placement.fxSlotStart[0], 3);
    EXPECT_EQ(r.placement.fxSlotSize[0], 1);
    EXPECT_EQ(r.placement.fxSlotStart[1], -1);
}

TEST(RackAccessFx, ChannelsOutsideTheUnitsAreNotServed)
{
    Racks r;
    r.emptyRacks();
    EXPECT_EQ(r.get(FxValue3, 16), 29);
    EXPECT_EQ(r.get(FxValue3, -1), 29);
    r.store.reads.clear();
    r.set(FxType, 16, 4);
    r.set(FxValue3, -3, 4);
    EXPECT_TRUE(r.store.writes.empty());
    EXPECT_TRUE(r.store.reads.empty());
}

TEST(RackAccessFx, FirstTypeWriteClearsTheOldPlacement)
{
    Racks r;
    for (unsigned i = 0; i < 5; ++i)
        r.placement.setEffRackNo(i, 1, false);
    r.set(FxType, 0, 0); // a 2-rack effect
    EXPECT_TRUE(r.fxRead);
    EXPECT_EQ(r.placement.fxSlotStart[0], 0);
    EXPECT_EQ(r.placement.fxSlotSize[0], 2);
    for (int u = 1; u < 16; ++u)
        EXPECT_EQ(r.placement.fxSlotStart[u], -1) << u;
    ASSERT_EQ(r.store.writes.size(), 1u);
    EXPECT_EQ(r.store.writes[0].address, "/FX/FX:0/Param:0/PluginName:0/MMS");
    EXPECT_EQ(r.store.writes[0].value.type(), OVariant::String);
    EXPECT_STREQ(r.store.writes[0].value.toString(), fxTypeText(0));
    EXPECT_TRUE(r.store.reads.empty());
}

TEST(RackAccessFx, TypeWritesPlaceUnitsAndValuesFollowThem)
{
    Racks r;
    const int types[] = {4, 0, 5, 1}; // sizes 1, 2, 1, 2
    for (int u = 0; u < 4; ++u)
        r.set(FxType, u, types[u]);
    EXPECT_EQ(r.store.writes[1].address, "/FX/FX:2/Param:0/PluginName:0/MMS");
    EXPECT_EQ(r.store.writes[3].address, "/FX/FX:6/Param:0/PluginName:0/MMS");

    r.set(FxValue3, 3, 42);
    EXPECT_EQ(r.store.writes.back().address, "/FX/FX:6/Param:0/Bank:0/Value:3/MMS");
    EXPECT_EQ(r.store.writes.back().value.type(), OVariant::Integer);
    EXPECT_EQ(r.store.writes.back().value.toInt(), 42);

    // A later type write does not clear again: unit 4 follows unit 3.
    r.set(FxType, 4, 6);
    EXPECT_EQ(r.placement.fxSlotStart[4], 8);
    EXPECT_EQ(r.placement.fxSlotStart[0], 0);
}

TEST(RackAccessFx, EmptyTypeLeavesTheUnitWithoutRackAndDropsItsWrites)
{
    Racks r;
    r.set(FxType, 0, 4);
    r.set(FxType, 1, 29); // empty type: size 0
    EXPECT_EQ(r.placement.fxSlotStart[1], -1);
    const size_t before = r.store.writes.size();
    r.set(FxValue3, 1, 5);
    r.set(FxType, 2, 4);
    EXPECT_EQ(r.store.writes.size(), before);
}

TEST(RackAccessFx, SlotSizeWritesThePlacedSize)
{
    Racks r;
    r.set(FxType, 0, 0);
    r.set(FxSlotSize, 0, 99);
    EXPECT_EQ(r.store.writes.back().address, "/FX/FX:0/Param:0/SlotSize:0/MMS");
    EXPECT_EQ(r.store.writes.back().value.toInt(), 2);
}

TEST(RackAccessVelmar, ReadsUseTheFixedLayout)
{
    Racks r;
    r.store.putInt("/VelmarRack/VelmarRack2:2/PlugIn:5/LR:0/Bypass:0/MMS", 1);
    EXPECT_EQ(r.get(PluginBypass, 37), 1);
    EXPECT_EQ(r.store.reads.last(), "/VelmarRack/VelmarRack2:2/PlugIn:5/LR:0/Bypass:0/MMS");
    EXPECT_EQ(r.get(PluginBypass, 63), 0);
    EXPECT_EQ(r.store.reads.last(), "/VelmarRack/VelmarRack2:3/PlugIn:15/LR:0/Bypass:0/MMS");
    const int reads = r.store.reads.size();
    EXPECT_EQ(r.get(PluginBypass, 64), 0);
    EXPECT_EQ(r.get(PluginBypass, -1), 0);
    EXPECT_EQ(r.store.reads.size(), reads);
    EXPECT_FALSE(r.velmarRead);
    EXPECT_FALSE(r.fxRead);
}

TEST(RackAccessVelmar, TypeWritesPlaceAndOtherWritesFollow)
{
    Racks r;
    for (unsigned i = 0; i < 10; ++i)
        r.placement.setEffRackNo(i, 1, true); // stale placement
    const int types[] = {0, 1, 2, 6}; // 6, 4, 4, 4 slots
    for (int i = 0; i < 4; ++i)
        r.set(PluginType, i, types[i]);
    EXPECT_TRUE(r.velmarRead);
    EXPECT_EQ(r.placement.velmarRackNo[4], -1);
    EXPECT_EQ(r.store.writes[0].address, "/VelmarRack/VelmarRack2:0/PlugIn:0/PluginName/MMS");
    EXPECT_EQ(r.store.writes[1].address, "/VelmarRack/VelmarRack2:0/PlugIn:6/PluginName/MMS");
    EXPECT_EQ(r.store.writes[2].address, "/VelmarRack/VelmarRack2:0/PlugIn:10/PluginName/MMS");
    EXPECT_EQ(r.store.writes[3].address, "/VelmarRack/VelmarRack2:1/PlugIn:0/PluginName/MMS");
    EXPECT_STREQ(r.store.writes[3].value.toString(), ValueNameTables::table(14)[6].text);

    r.set(PluginSlotSize, 2, 0);
    EXPECT_EQ(r.store.writes.back().address, "/VelmarRack/VelmarRack2:0/PlugIn:10/SlotSize/MMS");
    EXPECT_EQ(r.store.writes.back().value.toInt(), 4);

    const size_t before = r.store.writes.size();
    r.set(PluginBypass, 4, 1); // never placed
    r.set(PluginBypass, 64, 1);
    EXPECT_EQ(r.store.writes.size(), before);
}

TEST(RackAccess, NullParameterAndForeignNames)
{
    Racks r;
    EXPECT_EQ(r.access.GetValueVelmarRack(nullptr, 0, 0), 0);
    r.access.SetValueVelmarRack(nullptr, 0, 1, 0);
    EXPECT_EQ(r.get("/VelmarRack2/Other/MMS", 0), 0);
    r.set("/VelmarRack2/Other/MMS", 0, 1);
    EXPECT_TRUE(r.store.reads.empty());
    EXPECT_TRUE(r.store.writes.empty());
}

TEST(RackAccess, VelmarRebuildIsNotOffered)
{
    Racks r;
    r.placement.setEffRackNo(0, 2, false);
    EXPECT_EQ(r.access.getEffRackNo(true), 0);
    EXPECT_TRUE(r.store.reads.empty());
    EXPECT_EQ(r.placement.fxSlotStart[0], 0);
}
