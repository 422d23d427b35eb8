#include "params/MmsAddress.h"

#include <gtest/gtest.h>

TEST(MmsAddress, ChannelIndexGoesOnTheStripElement)
{
    EXPECT_EQ(MmsAddress::ChannelAddress("/Mixing/InputChannel/Fader/Level/MMS", 7),
              "/Mixing/InputChannel:7/Fader/Level/MMS");
    EXPECT_EQ(MmsAddress::ChannelAddress("/Mixing/Stereo/Mono/MMS", 0), "/Mixing/Stereo:0/Mono/MMS");
    EXPECT_EQ(MmsAddress::ChannelAddress("/Mixing/InputChannel/Signal/Relation/MMS", 12),
              "/Mixing/InputChannel:12/Signal/Relation/MMS");
    EXPECT_EQ(MmsAddress::ChannelAddress("/Mixing/InputChannel/Signal/Relation/MMS", 119),
              "/Mixing/InputChannel:119/Signal/Relation/MMS");
}

TEST(MmsAddress, ChannelAddressKeepsFixedIndexesAndEndings)
{
    EXPECT_EQ(MmsAddress::ChannelAddress("/FX/FX/Param:0/Bank:0/Value:3/MMS/Chorus", 2),
              "/FX/FX:2/Param:0/Bank:0/Value:3/MMS/Chorus");
    EXPECT_EQ(MmsAddress::ChannelAddress("/Mixing/GEQRack2/Type:0/MMSGEQ", 15), "/Mixing/GEQRack2:15/Type:0/MMSGEQ");
    // Empty parts are kept, so a doubled slash survives.
    EXPECT_EQ(MmsAddress::ChannelAddress("/A/B//C", 1), "/A/B:1//C");
}

TEST(MmsAddress, DuganAddressIndexesRackAndChannel)
{
    EXPECT_EQ(MmsAddress::DuganAddress("/Mixing/DuganAutomixer/Channel/Weight/MMS", 5),
              "/Mixing/DuganAutomixer:0/Channel:5/Weight/MMS");
    EXPECT_EQ(MmsAddress::DuganAddress("/Mixing/DuganAutomixer/Channel/Group/MMS", 0),
              "/Mixing/DuganAutomixer:0/Channel:0/Group/MMS");
    EXPECT_EQ(MmsAddress::DuganAddress("/Mixing/DuganAutomixer/Channel/Group/MMS", 63),
              "/Mixing/DuganAutomixer:0/Channel:63/Group/MMS");
}

TEST(MmsAddress, PluginSlotAddressReplacesThePlugInElement)
{
    EXPECT_EQ(MmsAddress::PluginSlotAddress("/VelmarRack/VelmarRack2/PlugIn:0/LR:1/LibraryName:0/MMS", 1, 4),
              "/VelmarRack/VelmarRack2:1/PlugIn:4/LR:1/LibraryName:0/MMS");
    EXPECT_EQ(MmsAddress::PluginSlotAddress("/VelmarRack/VelmarRack2/PlugIn:0/PluginName/MMS", 3, 15),
              "/VelmarRack/VelmarRack2:3/PlugIn:15/PluginName/MMS");
}

TEST(MmsAddress, ShortNamesComeBackUnchanged)
{
    for (const char* name : {"", "/", "/Mixing", "Mixing"}) {
        EXPECT_EQ(MmsAddress::ChannelAddress(name, 3), QString(name)) << name;
        EXPECT_EQ(MmsAddress::DuganAddress(name, 3), QString(name)) << name;
        EXPECT_EQ(MmsAddress::PluginSlotAddress(name, 1, 2), QString(name)) << name;
    }
    // Three elements are enough for a channel, not for the two-index forms.
    EXPECT_EQ(MmsAddress::ChannelAddress("/A/B", 3), "/A/B:3");
    EXPECT_EQ(MmsAddress::ChannelAddress("//", 3), "//:3");
    EXPECT_EQ(MmsAddress::DuganAddress("/A/B", 3), "/A/B");
    EXPECT_EQ(MmsAddress::PluginSlotAddress("/A/B", 1, 2), "/A/B");
    EXPECT_EQ(MmsAddress::DuganAddress("/A/B/C", 3), "/A/B:0/C:3");
    EXPECT_EQ(MmsAddress::PluginSlotAddress("/A/B/C", 1, 2), "/A/B:1/PlugIn:2");
}
