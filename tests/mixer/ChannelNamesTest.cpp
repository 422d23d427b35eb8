#include "FakeMmsStore.h"
#include "StubMixer.h"

#include "host/MixerException.h"
#include "params/ChannelNames.h"
#include "params/RackPlacement.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

const char InputNames[] = "/Mixing/InputChannel/Label:0/Name:0/MMS";
const char FxNames[] = "/FX/FX/Param:0/LibraryName:0/MMS";
const char FxIncoming[] = "/VelmarRack/VelmarRack2/PlugIn:0/LR:0/LibraryName:0/MMSFx";
const char VelmarL[] = "/VelmarRack/VelmarRack2/PlugIn:0/LR:0/LibraryName:0/MMS";
const char VelmarR[] = "/VelmarRack/VelmarRack2/PlugIn:0/LR:1/LibraryName:0/MMS";

struct Names {
    FakeMmsStore store;
    RackPlacement placement;
    ChannelNames names{store, placement};
};

} // namespace

TEST(ChannelNames, ClassTable)
{
    const ChannelNames::NameClass* classes = ChannelNames::classes();
    EXPECT_STREQ(classes[0].console, InputNames);
    EXPECT_STREQ(classes[5].console, "/Mixing/Mute/Label:0/Name:0/MMS");
    EXPECT_STREQ(classes[6].incoming, FxIncoming);
    EXPECT_STREQ(classes[6].console, FxNames);
    EXPECT_STREQ(classes[8].console, VelmarR);
    for (int i = 0; i < ChannelNames::ClassCount; ++i) {
        if (i != 6) {
            EXPECT_STREQ(classes[i].incoming, classes[i].console) << i;
        }
    }
}

TEST(ChannelNames, ReadsFormAddressesPerClass)
{
    Names n;
    n.store.putText("/Mixing/InputChannel:5/Label:0/Name:0/MMS", "Kick In");
    QString text = "stale";
    n.names.GetMMSChName(InputNames, 5, text);
    EXPECT_EQ(text, "Kick In");
    n.names.GetMMSChName(InputNames, 6, text); // unreadable
    EXPECT_TRUE(text.isEmpty());

    n.names.GetMMSChName(VelmarR, 63, text);
    EXPECT_EQ(n.store.reads.last(), "/VelmarRack/VelmarRack2:3/PlugIn:15/LR:1/LibraryName:0/MMS");
    const int reads = n.store.reads.size();
    text = "stale";
    n.names.GetMMSChName(VelmarL, 64, text);
    EXPECT_TRUE(text.isEmpty());
    n.names.GetMMSChName(VelmarL, -1, text);
    EXPECT_EQ(n.store.reads.size(), reads);
}

TEST(ChannelNames, FxNamesFollowThePlacementWithoutRebuildingIt)
{
    Names n;
    n.placement.setEffRackNo(0, 2, false);
    n.placement.setEffRackNo(1, 1, false);
    n.store.putText("/FX/FX:2/Param:0/LibraryName:0/MMS", "Vocal Plate");
    QString text = "stale";
    n.names.GetMMSChName(FxNames, 1, text);
    EXPECT_EQ(text, "Vocal Plate");
    text = "stale";
    n.names.GetMMSChName(FxNames, 2, text); // no rack
    EXPECT_TRUE(text.isEmpty());
    n.names.GetMMSChName(FxNames, 16, text);
    n.names.GetMMSChName(FxNames, -1, text);
    EXPECT_EQ(n.store.reads.size(), 1);
}

TEST(ChannelNames, NonTextNameThrowsMixerException)
{
    Names n;
    n.store.putInt("/Mixing/DCA:1/Label:0/Name:0/MMS", 3);
    QString text = "kept";
    try {
        n.names.GetMMSChName("/Mixing/DCA/Label:0/Name:0/MMS", 1, text);
        FAIL() << "no exception";
    } catch (MixerException* e) {
        std::unique_ptr<MixerException> owned(e);
        EXPECT_STREQ(e->what(), "GetMMSStrValue() MMS value type is not string.");
        EXPECT_EQ(e->source(), "QORA");
        EXPECT_EQ(e->code(), -1);
    }
    EXPECT_EQ(text, "kept");
}

TEST(ChannelNames, WritesFollowThePlacement)
{
    Names n;
    n.placement.setEffRackNo(0, 1, false);
    n.placement.setEffRackNo(1, 2, false);
    n.placement.setEffRackNo(0, 6, true);
    n.placement.setEffRackNo(1, 4, true);
    n.names.SetMMSChName(FxNames, 1, "Hall");
    n.names.SetMMSChName(VelmarL, 1, QString::fromUtf8("B\xC3\xBChne"));
    n.names.SetMMSChName(FxNames, 2, "nowhere");
    n.names.SetMMSChName(VelmarL, 2, "nowhere");
    n.names.SetMMSChName(VelmarL, 64, "nowhere");
    n.names.SetMMSChName(FxNames, -1, "nowhere");
    ASSERT_EQ(n.store.writes.size(), 2u);
    EXPECT_EQ(n.store.writes[0].address, "/FX/FX:2/Param:0/LibraryName:0/MMS");
    EXPECT_STREQ(n.store.writes[0].value.toString(), "Hall");
    EXPECT_EQ(n.store.writes[1].address, "/VelmarRack/VelmarRack2:0/PlugIn:6/LR:0/LibraryName:0/MMS");
    EXPECT_STREQ(n.store.writes[1].value.toString(), "B\xC3\xBChne");
}

TEST(ChannelNames, ListReadAppendsHeadAndOneTextPerChannel)
{
    Names n;
    StubMixer mixer;
    mixer.channelMax = 3;
    n.store.putText("/Mixing/Stereo:2/Label:0/Name:0/MMS", "ST B");
    QStringList list{"existing"};
    n.names.GetNameParameterList(3, list, mixer);
    EXPECT_EQ(mixer.rangeCalls, 1);
    EXPECT_EQ(list, QStringList({"existing", "/Mixing/Stereo/Label:0/Name:0/MMS", "", "", "ST B", ""}));

    QStringList fx;
    mixer.channelMax = 15;
    n.placement.setEffRackNo(0, 1, false);
    n.store.putText("/FX/FX:0/Param:0/LibraryName:0/MMS", "Room A");
    n.names.GetNameParameterList(6, fx, mixer);
    ASSERT_EQ(fx.size(), 17);
    EXPECT_EQ(fx[0], FxNames);
    EXPECT_EQ(fx[1], "Room A");
    for (int i = 2; i < 17; ++i)
        EXPECT_TRUE(fx[i].isEmpty()) << i;

    QStringList none;
    n.names.GetNameParameterList(9, none, mixer);
    n.names.GetNameParameterList(-1, none, mixer);
    EXPECT_TRUE(none.isEmpty());
}

TEST(ChannelNames, ListWriteMatchesTheIncomingHead)
{
    Names n;
    n.names.SetNameParameterList(QStringList({"/Mixing/Mute/Label:0/Name:0/MMS", "M1", "M2"}));
    ASSERT_EQ(n.store.writes.size(), 2u);
    EXPECT_EQ(n.store.writes[0].address, "/Mixing/Mute:0/Label:0/Name:0/MMS");
    EXPECT_EQ(n.store.writes[1].address, "/Mixing/Mute:1/Label:0/Name:0/MMS");
    EXPECT_STREQ(n.store.writes[1].value.toString(), "M2");

    // The FX class comes in under its velmar-style head, not its own name.
    n.store.writes.clear();
    n.placement.setEffRackNo(0, 1, false);
    n.names.SetNameParameterList(QStringList({FxNames, "x"}));
    EXPECT_TRUE(n.store.writes.empty());
    n.names.SetNameParameterList(QStringList({FxIncoming, "Delay"}));
    ASSERT_EQ(n.store.writes.size(), 1u);
    EXPECT_EQ(n.store.writes[0].address, "/FX/FX:0/Param:0/LibraryName:0/MMS");

    n.store.writes.clear();
    n.names.SetNameParameterList(QStringList({InputNames}));
    n.names.SetNameParameterList(QStringList());
    n.names.SetNameParameterList(QStringList({"/Mixing/InputChannel/Label:0/Name:0/mms", "x"}));
    EXPECT_TRUE(n.store.writes.empty());
}

TEST(ChannelNames, ElementsBeyondTheClassAreNotSent)
{
    Names n;
    QStringList dca{"/Mixing/DCA/Label:0/Name:0/MMS"};
    for (int i = 0; i < 30; ++i)
        dca << QStringLiteral("D%1").arg(i);
    n.names.SetNameParameterList(dca);
    ASSERT_EQ(n.store.writes.size(), 24u);
    EXPECT_EQ(n.store.writes.back().address, "/Mixing/DCA:23/Label:0/Name:0/MMS");

    n.store.writes.clear();
    for (unsigned i = 0; i < 64; ++i)
        n.placement.setEffRackNo(i, 1, true);
    QStringList velmar{VelmarR};
    for (int i = 0; i < 70; ++i)
        velmar << QStringLiteral("P%1").arg(i);
    n.names.SetNameParameterList(velmar);
    ASSERT_EQ(n.store.writes.size(), 64u);
    EXPECT_EQ(n.store.writes.back().address, "/VelmarRack/VelmarRack2:3/PlugIn:15/LR:1/LibraryName:0/MMS");
}
