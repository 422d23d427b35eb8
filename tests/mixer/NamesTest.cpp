// Name lists of every class through the plug-in's IMixer, against the
// editor program.
#include "EditorHarness.h"

#include "host/IMixer.h"

namespace {

// Heads as the host hands them in, by class index; the mixer lists the same
// head but for the FX class (6), whose console name is kFxConsole.
const char* const Heads[] = {
    "/Mixing/InputChannel/Label:0/Name:0/MMS", "/Mixing/Matrix/Label:0/Name:0/MMS", "/Mixing/Mix/Label:0/Name:0/MMS",
    "/Mixing/Stereo/Label:0/Name:0/MMS", "/Mixing/DCA/Label:0/Name:0/MMS", "/Mixing/Mute/Label:0/Name:0/MMS",
    "/VelmarRack/VelmarRack2/PlugIn:0/LR:0/LibraryName:0/MMSFx",
    "/VelmarRack/VelmarRack2/PlugIn:0/LR:0/LibraryName:0/MMS", "/VelmarRack/VelmarRack2/PlugIn:0/LR:1/LibraryName:0/MMS"};
const int Channels[] = {120, 12, 48, 4, 24, 12, 16, 64, 64};
const char kFxConsole[] = "/FX/FX/Param:0/LibraryName:0/MMS";

QStringList incoming(const char* head, int elements, const QString& prefix)
{
    QStringList list{QString::fromLatin1(head)};
    for (int i = 0; i < elements; ++i)
        list << QStringLiteral("%1 %2").arg(prefix).arg(i);
    return list;
}
} // namespace

class EditorNames : public SharedEditor
{
protected:
    void send(QStringList list) { mixer->SetNameParameterList(list, "ignored"); }
};

TEST_F(EditorNames, EveryClassRoundTrips)
{
    // Every FX unit on one rack, every plug-in in one slot: host unit k is
    // rack k, host plug-in k is rack k / 16, slot k % 16.
    IParameter* fxType = parameter("/FX/FX/Param:0/PluginName:0/MMS");
    IParameter* pluginType = parameter("/VelmarRack/VelmarRack2/PlugIn:0/PluginName/MMS");
    for (int k = 0; k < 64; ++k) {
        mixer->SetValue(fxType, k, 4, 0); // units from 16 on are ignored
        mixer->SetValue(pluginType, k, 3, 0);
    }
    for (int index = 0; index < 9; ++index) {
        const QStringList names = incoming(Heads[index], Channels[index], QStringLiteral("C%1").arg(index));
        send(names);
        QStringList back;
        mixer->GetNameParameterList(index, back);
        ASSERT_EQ(back.size(), Channels[index] + 1) << index;
        EXPECT_EQ(back[0], index == 6 ? kFxConsole : Heads[index]);
        EXPECT_EQ(back.mid(1), names.mid(1)) << index;
    }
}

TEST_F(EditorNames, ListsAreAppendedToAndOnlyKnownClassesAndChannelsCount)
{
    QStringList list{"kept"};
    mixer->GetNameParameterList(3, list);
    EXPECT_EQ(list.mid(0, 2), (QStringList{"kept", Heads[3]}));
    EXPECT_EQ(list.size(), 6);
    QStringList none;
    const int mark = harness().mark();
    mixer->GetNameParameterList(9, none);
    mixer->GetNameParameterList(-1, none);
    EXPECT_TRUE(none.isEmpty());
    // Unknown heads, a head alone and the FX class's console name write nothing.
    send({"/Mixing/Nothing/Label:0/Name:0/MMS", "a"});
    send({Heads[5]});
    send(incoming(kFxConsole, 16, "x"));
    EXPECT_TRUE(harness().requestsSince(mark).isEmpty());
    // Elements beyond the class have no channel: channel 3 sends the batch.
    send(incoming(Heads[3], 9, "S"));
    const QList<QJsonObject> sent = harness().requestsSince(mark);
    ASSERT_EQ(sent.size(), 1);
    ASSERT_EQ(listOf(sent[0]).size(), 4);
    EXPECT_EQ(listOf(sent[0])[3].value("prmAddr").toString(), "/Mixing/Stereo:3/Label:0/Name:0/MMS");
}
