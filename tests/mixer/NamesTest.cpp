// Name lists of every class through the plug-in's IMixer, against the
// editor program.
#include "EditorHarness.h"

#include "host/IMixer.h"
#include "host/IParameter.h"

#include <gtest/gtest.h>

namespace {

struct NameClass {
    int index;
    const char* head;     // as the host hands it in
    const char* console;  // as the mixer lists it
    int channels;
};

const NameClass Classes[] = {
    {0, "/Mixing/InputChannel/Label:0/Name:0/MMS", "/Mixing/InputChannel/Label:0/Name:0/MMS", 120},
    {1, "/Mixing/Matrix/Label:0/Name:0/MMS", "/Mixing/Matrix/Label:0/Name:0/MMS", 12},
    {2, "/Mixing/Mix/Label:0/Name:0/MMS", "/Mixing/Mix/Label:0/Name:0/MMS", 48},
    {3, "/Mixing/Stereo/Label:0/Name:0/MMS", "/Mixing/Stereo/Label:0/Name:0/MMS", 4},
    {4, "/Mixing/DCA/Label:0/Name:0/MMS", "/Mixing/DCA/Label:0/Name:0/MMS", 24},
    {5, "/Mixing/Mute/Label:0/Name:0/MMS", "/Mixing/Mute/Label:0/Name:0/MMS", 12},
    {6, "/VelmarRack/VelmarRack2/PlugIn:0/LR:0/LibraryName:0/MMSFx", "/FX/FX/Param:0/LibraryName:0/MMS", 16},
    {7, "/VelmarRack/VelmarRack2/PlugIn:0/LR:0/LibraryName:0/MMS",
     "/VelmarRack/VelmarRack2/PlugIn:0/LR:0/LibraryName:0/MMS", 64},
    {8, "/VelmarRack/VelmarRack2/PlugIn:0/LR:1/LibraryName:0/MMS",
     "/VelmarRack/VelmarRack2/PlugIn:0/LR:1/LibraryName:0/MMS", 64},
};

QStringList incoming(const NameClass& c, int elements, const QString& prefix)
{
    QStringList list{QString::fromLatin1(c.head)};
    for (int i = 0; i < elements; ++i)
        list << QStringLiteral("%1 %2").arg(prefix).arg(i);
    return list;
}

} // namespace

class EditorNames : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        harness = new EditorHarness();
        mixer = harness->create();
    }
    static void TearDownTestSuite()
    {
        EXPECT_TRUE(harness->destroy(mixer));
        delete harness;
    }
    void SetUp() override
    {
        ASSERT_NE(mixer, nullptr);
        mixer->SetCurrentSceneMemory(0);
    }

    // Every FX unit on one rack, every plug-in in one slot: host unit k is
    // rack k, host plug-in k is rack k / 16, slot k % 16.
    void placeEverything()
    {
        IParameter* fxType = mixer->CreateParameter("/FX/FX/Param:0/PluginName:0/MMS");
        IParameter* pluginType = mixer->CreateParameter("/VelmarRack/VelmarRack2/PlugIn:0/PluginName/MMS");
        for (int unit = 0; unit < 16; ++unit)
            mixer->SetValue(fxType, unit, 4, 0);
        for (int plugin = 0; plugin < 64; ++plugin)
            mixer->SetValue(pluginType, plugin, 3, 0);
        fxType->Destroy();
        pluginType->Destroy();
    }

    void send(QStringList list) { mixer->SetNameParameterList(list, "ignored"); }

    static EditorHarness* harness;
    static IMixer* mixer;
};

EditorHarness* EditorNames::harness = nullptr;
IMixer* EditorNames::mixer = nullptr;

TEST_F(EditorNames, EveryClassRoundTrips)
{
    EXPECT_EQ(mixer->GetNameParameterNum(), 9);
    placeEverything();
    for (const NameClass& c : Classes) {
        QStringList names = incoming(c, c.channels, QStringLiteral("C%1").arg(c.index));
        mixer->SetNameParameterList(names, "ignored");
        QStringList back;
        mixer->GetNameParameterList(c.index, back);
        ASSERT_EQ(back.size(), c.channels + 1) << c.index;
        EXPECT_EQ(back[0], c.console);
        EXPECT_EQ(back.mid(1), names.mid(1)) << c.index;
    }
}

TEST_F(EditorNames, ListsAreAppendedToAndUnknownIndexesGiveNothing)
{
    QStringList list{"kept"};
    mixer->GetNameParameterList(3, list);
    ASSERT_EQ(list.size(), 6);
    EXPECT_EQ(list[0], "kept");
    EXPECT_EQ(list[1], "/Mixing/Stereo/Label:0/Name:0/MMS");
    QStringList none;
    const int mark = harness->mark();
    mixer->GetNameParameterList(9, none);
    mixer->GetNameParameterList(-1, none);
    EXPECT_TRUE(none.isEmpty());
    EXPECT_TRUE(harness->requestsSince(mark).isEmpty());
}

TEST_F(EditorNames, FxNamesOfUnplacedUnitsAreEmpty)
{
    // Scene 0 left the racks empty; a read rebuilds the FX placement.
    IParameter* fxType = mixer->CreateParameter("/FX/FX/Param:0/PluginName:0/MMS");
    mixer->SetValue(fxType, 0, 0, 0); // a two-rack effect
    mixer->SetValue(fxType, 1, 4, 0); // one rack, at rack 2
    fxType->Destroy();
    send(incoming(Classes[6], 16, "FX"));

    const int mark = harness->mark();
    QStringList back;
    mixer->GetNameParameterList(6, back);
    ASSERT_EQ(back.size(), 17);
    EXPECT_EQ(back[1], "FX 0");
    EXPECT_EQ(back[2], "FX 1");
    for (int i = 3; i < 17; ++i)
        EXPECT_EQ(back[i], "") << i;
    // One block read of the 16 racks serves both placed units; the others
    // are not asked for.
    const QList<QJsonObject> sent = harness->requestsSince(mark);
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(commandOf(sent[0]), "getData_prm_val");
    ASSERT_EQ(listOf(sent[0]).size(), 16);
    EXPECT_EQ(listOf(sent[0])[2].value("prmAddr").toString(), "/FX/FX:2/Param:0/LibraryName:0/MMS");

    // The FX class's own name is no incoming head.
    const int writeMark = harness->mark();
    send(incoming(Classes[6], 16, "x").replaceInStrings(Classes[6].head, Classes[6].console));
    EXPECT_TRUE(harness->requestsSince(writeMark).isEmpty());
}

TEST_F(EditorNames, VelmarNamesAreWrittenByPlacementAndReadByPosition)
{
    IParameter* pluginType = mixer->CreateParameter("/VelmarRack/VelmarRack2/PlugIn:0/PluginName/MMS");
    mixer->SetValue(pluginType, 0, 0, 0); // six slots
    mixer->SetValue(pluginType, 1, 3, 0); // one slot, at slot 6
    pluginType->Destroy();

    int mark = harness->mark();
    send(incoming(Classes[8], 64, "P"));
    QList<QJsonObject> sent = harness->requestsSince(mark);
    // Only the two placed plug-ins are written, where they were placed.
    ASSERT_EQ(sent.size(), 2);
    EXPECT_EQ(infoOf(sent[0]).value("prmAddr").toString(), "/VelmarRack/VelmarRack2:0/PlugIn:0/LR:1/LibraryName:0/MMS");
    EXPECT_EQ(infoOf(sent[1]).value("prmAddr").toString(), "/VelmarRack/VelmarRack2:0/PlugIn:6/LR:1/LibraryName:0/MMS");
    EXPECT_EQ(infoOf(sent[1]).value("prmValue").toString(), "P 1");

    // Reading goes by position: host plug-in 6 is slot 6.
    QStringList back;
    mixer->GetNameParameterList(8, back);
    ASSERT_EQ(back.size(), 65);
    EXPECT_EQ(back[1], "P 0");
    EXPECT_EQ(back[2], "");
    EXPECT_EQ(back[7], "P 1");
    EXPECT_EQ(back[64], "");

    // The left side's class reads its own texts.
    QStringList left;
    mixer->GetNameParameterList(7, left);
    ASSERT_EQ(left.size(), 65);
    EXPECT_EQ(left[1], "");
}

TEST_F(EditorNames, ElementsBeyondTheClassAreNotSentAndShortListsWriteLittle)
{
    int mark = harness->mark();
    send(incoming(Classes[3], 9, "S"));
    QList<QJsonObject> sent = harness->requestsSince(mark);
    // Channels 0..2 are collected, channel 3 sends the batch; elements 4..8
    // have no channel.
    ASSERT_EQ(sent.size(), 1);
    const QList<QJsonObject> batch = listOf(sent.last());
    ASSERT_EQ(batch.size(), 4);
    EXPECT_EQ(batch[3].value("prmAddr").toString(), "/Mixing/Stereo:3/Label:0/Name:0/MMS");

    mark = harness->mark();
    QStringList headOnly{Classes[5].head};
    mixer->SetNameParameterList(headOnly, "");
    QStringList unknown{"/Mixing/Nothing/Label:0/Name:0/MMS", "a"};
    mixer->SetNameParameterList(unknown, "");
    EXPECT_TRUE(harness->requestsSince(mark).isEmpty());
}
