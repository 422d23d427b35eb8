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

const char Level[] = "/Mixing/InputChannel/Fader/Level/MMS";

} // namespace

TEST(ValueAccess, ValueKindsReadAsHostIntegers)
{
    Values v;
    v.store.putInt("/Mixing/InputChannel:5/Fader/Level/MMS", -1280);
    OVariant unsignedValue, real;
    unsignedValue = 7u;
    real = 2.5f;
    v.store.values["/Mixing/InputChannel:6/Fader/Level/MMS"] = unsignedValue;
    v.store.values["/Mixing/InputChannel:7/Fader/Level/MMS"] = real;
    // A text on a parameter without a table reads as 0.
    v.store.putText("/Mixing/InputChannel:0/Fader/Level/MMS", "12");
    EXPECT_EQ(v.get(Level, 5, 17), -1280);
    EXPECT_EQ(v.get(Level, 6), 7);
    EXPECT_EQ(v.get(Level, 7), 0);
    EXPECT_EQ(v.get(Level, 8), 0); // unreadable
    EXPECT_EQ(v.get(Level, 0), 0);
    // The sub-index does not enter the address.
    EXPECT_EQ(v.store.reads[0], "/Mixing/InputChannel:5/Fader/Level/MMS");
    EXPECT_EQ(v.access.GetValue(nullptr, 0, 0), 0);
    v.access.SetValue(nullptr, 0, 1, 0);
    EXPECT_TRUE(v.store.writes.empty());
}

TEST(ValueAccess, ValuesWithoutTextAreWrittenAsIntegers)
{
    Values v;
    v.set("/Mixing/InputChannel/Label/Color/MMS", 1, 11); // the terminator's value has no text
    ASSERT_EQ(v.store.writes.size(), 1u);
    EXPECT_EQ(v.store.writes[0].value.type(), OVariant::Integer);
    EXPECT_EQ(v.store.writes[0].value.toInt(), 11);
}

TEST(ValueAccess, AutomixerReadsAndWritesFormDifferentAddresses)
{
    Values v;
    // Reads route on "DuganAutomixer" anywhere; writes need the full prefix.
    v.get("/Other/DuganAutomixer/Channel/MMS", 9);
    EXPECT_EQ(v.store.reads.last(), "/Other/DuganAutomixer:0/Channel:9/MMS");
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
    v.get("/VelmarRack/VelmarRack2/PlugIn:0/LR:0/Bypass:0/MMS", 17);
    EXPECT_EQ(v.store.reads.last(), "/VelmarRack/VelmarRack2:1/PlugIn:1/LR:0/Bypass:0/MMS");
}
