#include "params/MmsAddress.h"

#include <gtest/gtest.h>

// The common forms are seen on the wire in the editor tests; these are the
// edges: fixed indexes and endings kept, names too short for an index.
TEST(MmsAddress, IndexesGoOnTheirElementsOfLongEnoughNames)
{
    EXPECT_EQ(MmsAddress::ChannelAddress("/FX/FX/Param:0/Bank:0/Value:3/MMS/Chorus", 2),
              "/FX/FX:2/Param:0/Bank:0/Value:3/MMS/Chorus");
    EXPECT_EQ(MmsAddress::ChannelAddress("/A/B//C", 1), "/A/B:1//C");
    EXPECT_EQ(MmsAddress::DuganAddress("/Mixing/DuganAutomixer/Channel/Group/MMS", 63),
              "/Mixing/DuganAutomixer:0/Channel:63/Group/MMS");
    EXPECT_EQ(MmsAddress::PluginSlotAddress("/VelmarRack/VelmarRack2/PlugIn:0/PluginName/MMS", 3, 15),
              "/VelmarRack/VelmarRack2:3/PlugIn:15/PluginName/MMS");
    for (const char* name : {"", "/", "/Mixing", "Mixing"}) {
        EXPECT_EQ(MmsAddress::ChannelAddress(name, 3), QString(name)) << name;
        EXPECT_EQ(MmsAddress::DuganAddress(name, 3), QString(name)) << name;
        EXPECT_EQ(MmsAddress::PluginSlotAddress(name, 1, 2), QString(name)) << name;
    }
    // Three elements are enough for a channel, not for the two-index forms.
    EXPECT_EQ(MmsAddress::ChannelAddress("/A/B", 3), "/A/B:3");
    EXPECT_EQ(MmsAddress::DuganAddress("/A/B", 3), "/A/B");
    EXPECT_EQ(MmsAddress::PluginSlotAddress("/A/B", 1, 2), "/A/B");
    EXPECT_EQ(MmsAddress::DuganAddress("/A/B/C", 3), "/A/B:0/C:3");
    EXPECT_EQ(MmsAddress::PluginSlotAddress("/A/B/C", 1, 2), "/A/B:1/PlugIn:2");
}
