#include "FakeMmsStore.h"

#include "host/Parameter.h"
#include "params/RackAccess.h"
#include "params/RackPlacement.h"
#include "params/ValueAccess.h"

#include <gtest/gtest.h>

namespace {

struct Values {
    FakeMmsStore store;
    RackPlacement placement;
    bool fxRead = false;
    bool velmarRead = false;
    RackAccess racks{store, placement, fxRead, velmarRead};
    ValueAccess access{store, racks};

    int get(const char* name, int channel, int sub = 0)
    {
        Parameter p(nullptr, 1, name);
        return access.GetValue(&p, channel, sub);
    }
    void set(const char* name, int channel, int value, int sub = 0)
    {
        Parameter p(nullptr, 1, name);
        access.SetValue(&p, channel, value, sub);
    }
};

const char Color[] = "/Mixing/InputChannel/Label/Color/MMS";
const char Level[] = "/Mixing/InputChannel/Fader/Level/MMS";

} // namespace

TEST(ValueAccessGet, TextValuesGoThroughTheTable)
{
    Values v;
    v.store.putText("/Mixing/InputChannel:3/Label/Color/MMS", "Green");
    EXPECT_EQ(v.get(Color, 3), 7);
    v.store.putText("/Mixing/InputChannel:3/Label/Color/MMS", "Blue");
    EXPECT_EQ(v.get(Color, 3), 0);
    // Not in the table: the terminator's value.
    v.store.putText("/Mixing/InputChannel:3/Label/Color/MMS", "Mauve");
    EXPECT_EQ(v.get(Color, 3), 11);
    // First match wins for a text held twice.
    v.store.putText("/Mixing/Mix:2/BusType/MMS", "VARI");
    EXPECT_EQ(v.get("/Mixing/Mix/BusType/MMS", 2), 0);
    // A text on a parameter without a table reads as 0.
    v.store.putText("/Mixing/InputChannel:0/Fader/Level/MMS", "12");
    EXPECT_EQ(v.get(Level, 0), 0);
}

TEST(ValueAccessGet, NumbersAndMissingValues)
{
    Values v;
    v.store.putInt("/Mixing/InputChannel:5/Fader/Level/MMS", -1280);
    EXPECT_EQ(v.get(Level, 5), -1280);
    OVariant unsignedValue;
    unsignedValue = 7u;
    v.store.values["/Mixing/InputChannel:6/Fader/Level/MMS"] = unsignedValue;
    EXPECT_EQ(v.get(Level, 6), 7);
    OVariant real;
    real = 2.5f;
    v.store.values["/Mixing/InputChannel:7/Fader/Level/MMS"] = real;
    EXPECT_EQ(v.get(Level, 7), 0);
    EXPECT_EQ(v.get(Level, 8), 0); // unreadable
    EXPECT_EQ(v.access.GetValue(nullptr, 0, 0), 0);
    v.access.SetValue(nullptr, 0, 1, 0);
    EXPECT_TRUE(v.store.writes.empty());
}

TEST(ValueAccessGet, SubIndexDoesNotChangeTheAddress)
{
    Values v;
    v.get(Level, 4, 0);
    v.get(Level, 4, 17);
    ASSERT_EQ(v.store.reads.size(), 2);
    EXPECT_EQ(v.store.reads[0], "/Mixing/InputChannel:4/Fader/Level/MMS");
    EXPECT_EQ(v.store.reads[1], v.store.reads[0]);
}

TEST(ValueAccessGet, AutomixerAddress)
{
    Values v;
    v.get("/Mixing/DuganAutomixer/Channel/Weight/MMS", 0);
    EXPECT_EQ(v.store.reads.last(), "/Mixing/DuganAutomixer:0/Channel:0/Weight/MMS");
    // Reading routes on "DuganAutomixer" anywhere in the name.
    v.get("/Other/DuganAutomixer/Channel/MMS", 9);
    EXPECT_EQ(v.store.reads.last(), "/Other/DuganAutomixer:0/Channel:9/MMS");
}

TEST(ValueAccessSet, TextParametersWriteTheirText)
{
    Values v;
    v.set(Color, 10, 6);
    ASSERT_EQ(v.store.writes.size(), 1u);
    EXPECT_EQ(v.store.writes[0].address, "/Mixing/InputChannel:10/Label/Color/MMS");
    EXPECT_EQ(v.store.writes[0].value.type(), OVariant::String);
    EXPECT_STREQ(v.store.writes[0].value.toString(), "Red");
    v.set("/Mixing/Mix/BusType/MMS", 0, 2);
    EXPECT_STREQ(v.store.writes[1].value.toString(), "VARI");
}

TEST(ValueAccessSet, ValuesWithoutTextAreWrittenAsIntegers)
{
    Values v;
    v.set(Color, 1, 11); // the terminator's value has no text
    v.set(Level, 2, -300);
    ASSERT_EQ(v.store.writes.size(), 2u);
    EXPECT_EQ(v.store.writes[0].value.type(), OVariant::Integer);
    EXPECT_EQ(v.store.writes[0].value.toInt(), 11);
    EXPECT_EQ(v.store.writes[1].address, "/Mixing/InputChannel:2/Fader/Level/MMS");
    EXPECT_EQ(v.store.writes[1].value.toInt(), -300);
}

TEST(ValueAccessSet, AutomixerWritesNeedTheFullPrefix)
{
    Values v;
    v.set("/Mixing/DuganAutomixer/Channel/Weight/MMS", 5, 3);
    EXPECT_EQ(v.store.writes.back().address, "/Mixing/DuganAutomixer:0/Channel:5/Weight/MMS");
    v.set("/Other/DuganAutomixer/Channel/MMS", 9, 1);
    EXPECT_EQ(v.store.writes.back().address, "/Other/DuganAutomixer:9/Channel/MMS");
}

TEST(ValueAccess, RackNamesGoToTheRackAccess)
{
    Values v;
    // Unplaced FX unit: 29, after the 16 rack-type reads of the rebuild.
    EXPECT_EQ(v.get("/FX/FX/Param:0/Bank:0/Value:3/MMS", 0), 29);
    EXPECT_TRUE(v.fxRead);
    EXPECT_EQ(v.store.reads.size(), 16);
    // A name with both markers is still a rack name.
    EXPECT_EQ(v.get("/FX/FX/VelmarRack2/MMS", 2), 29);
    v.store.reads.clear();
    v.get("/VelmarRack/VelmarRack2/PlugIn:0/LR:0/Bypass:0/MMS", 17);
    EXPECT_EQ(v.store.reads.last(), "/VelmarRack/VelmarRack2:1/PlugIn:1/LR:0/Bypass:0/MMS");

    v.set("/FX/FX/Param:0/PluginName:0/MMS", 0, 4);
    EXPECT_EQ(v.placement.fxSlotStart[0], 0);
    EXPECT_EQ(v.store.writes.back().address, "/FX/FX:0/Param:0/PluginName:0/MMS");
}
