#include "Rq10Mixer.h"

#include "Rq10Setup.h"
#include "host/IParameter.h"
#include "host/ParameterNotFoundException.h"

#include <QByteArray>
#include <QStringList>

#include <gtest/gtest.h>

#include <memory>

namespace {

struct Release {
    void operator()(IMixer* m) const { m->Destroy(); }
    void operator()(IParameter* p) const { p->Destroy(); }
};
using MixerPtr = std::unique_ptr<Rq10Mixer, Release>;
using ParameterPtr = std::unique_ptr<IParameter, Release>;

const char kSetup[] = R"({
  "format": "rq10-setup", "version": 1, "model": "RQ10",
  "values": {
    "/Mixing/InputChannel/Fader/Level/MMS": {"0-2": -100},
    "/Mixing/Mix/Insert/Point/MMS": {"0": 210}
  },
  "scenes": [
    {"number": 100, "title": "One", "comment": "first", "protect": true,
     "time": "2030-01-02T03:04:05"},
    {"number": 200, "title": "Two",
     "values": {"/Mixing/InputChannel/Fader/Level/MMS": {"1": -900},
                "/Mixing/Stereo/Fader/On/MMS": {"3": 1}}}
  ],
  "names": {"/Mixing/DCA/Label:0/Name:0/MMS": ["Drums", null, "Vox"]}
})";

MixerPtr makeMixer(const char* json = kSetup)
{
    Rq10Setup setup;
    QString error;
    EXPECT_TRUE(Rq10Setup::parse(QByteArray(json), setup, error)) << error.toStdString();
    return MixerPtr(new Rq10Mixer(std::move(setup)));
}

int value(Rq10Mixer& mixer, const std::string& name, int channel)
{
    ParameterPtr p(mixer.CreateParameter(name));
    return mixer.GetValue(p.get(), channel, 0);
}

void ranges(Rq10Mixer& mixer, const std::string& name, int& cmin, int& cmax, int& smin, int& smax)
{
    mixer.LookupParameterRanges(name, cmin, cmax, smin, smax);
}

} // namespace

TEST(Rq10Mixer, FamiliesGiveTheirChannelRanges)
{
    MixerPtr mixer = makeMixer();
    struct Case {
        const char* name;
        int channelMax;
    };
    const Case cases[] = {
        {"/Mixing/InputChannel/Dynamics:1/Bank:1/Gate/Range/MMS", 143},
        {"/Mixing/Mix/ToStereo/Point/MMS", 71},
        {"/Mixing/Matrix/Insert/Point/MMS", 23},
        {"/Mixing/Stereo/Fader/On/MMS", 3},
        {"/Mixing/DCA/Fader/Level/MMS", 31},
        {"/Mixing/DuganAutomixer/Channel/Weight/MMS", 63},
        {"/Mixing/GEQRack2/Type:0/MMSGEQ", 31},
        {"/Mixing/GEQRack2/Type:0/MMSDugan", 0},
        {"/VelmarRack/VelmarRack2/PlugIn:0/LR:1/Parameter:63/Value:0/MMS", 63},
        {"/VelmarRack/VelmarRack2/PlugIn:0/PluginName/MMSFx", 15},
    };
    for (const Case& c : cases) {
        int cmin = -9, cmax = -9, smin = -9, smax = -9;
        ranges(*mixer, c.name, cmin, cmax, smin, smax);
        EXPECT_EQ(cmin, 0) << c.name;
        EXPECT_EQ(cmax, c.channelMax) << c.name;
        EXPECT_EQ(smin, 0) << c.name;
        EXPECT_EQ(smax, 0) << c.name;
    }
}

TEST(Rq10Mixer, NamesOutsideTheFamiliesThrowParameterNotFound)
{
    MixerPtr mixer = makeMixer();
    const char* const names[] = {
        "/FX/FX/Param:0/Bank:0/Value:3/MMS",                        // a KX9-only unit
        "/Mixing/GEQRack2/Type:0/MMS",                              // GEQ racks end in MMSGEQ here
        "/Mixing/InputChannel/Label:0/Name:0/MMS",                  // texts go through name lists
        "/mixing/inputchannel/fader/level/MMS",                     // letter case counts
        "/Mixing/InputChannel/Fader/Level",                         // no ending
        "/Mixing/InputChannel//MMS",
        "",
    };
    for (const char* name : names) {
        try {
            ParameterPtr p(mixer->CreateParameter(name));
            ADD_FAILURE() << "accepted " << name;
        } catch (ParameterNotFoundException* e) {
            std::unique_ptr<ParameterNotFoundException> owned(e);
            EXPECT_STREQ(e->what(), "Parameter Id not found");
            EXPECT_EQ(e->parameterName(), name);
            EXPECT_EQ(e->mixerId(), "RQ10");
        }
        int cmin = 7, cmax = 7, smin = 7, smax = 7;
        try {
            ranges(*mixer, name, cmin, cmax, smin, smax);
            ADD_FAILURE() << "ranges for " << name;
        } catch (ParameterNotFoundException* e) {
            delete e;
        }
        EXPECT_EQ(cmax, 7) << "out-arguments touched for " << name;
    }
}

TEST(Rq10Mixer, CurrentMemoryFollowsTheRecalledScene)
{
    MixerPtr mixer = makeMixer();
    // Before any recall: the common values, 0 elsewhere.
    EXPECT_EQ(mixer->currentScene(), 0);
    EXPECT_EQ(value(*mixer, "/Mixing/InputChannel/Fader/Level/MMS", 1), -100);
    EXPECT_EQ(value(*mixer, "/Mixing/InputChannel/Fader/Level/MMS", 3), 0);
    EXPECT_EQ(value(*mixer, "/Mixing/Mix/Insert/Point/MMS", 0), 210);

    mixer->SetCurrentSceneMemory(200);
    EXPECT_EQ(mixer->currentScene(), 200);
    EXPECT_EQ(value(*mixer, "/Mixing/InputChannel/Fader/Level/MMS", 0), -100);
    EXPECT_EQ(value(*mixer, "/Mixing/InputChannel/Fader/Level/MMS", 1), -900);
    EXPECT_EQ(value(*mixer, "/Mixing/Stereo/Fader/On/MMS", 3), 1);

    mixer->SetCurrentSceneMemory(100);
    EXPECT_EQ(value(*mixer, "/Mixing/InputChannel/Fader/Level/MMS", 1), -100);
    EXPECT_EQ(value(*mixer, "/Mixing/Stereo/Fader/On/MMS", 3), 0);

    // An unknown scene changes nothing.
    mixer->SetCurrentSceneMemory(300);
    EXPECT_EQ(mixer->currentScene(), 100);
    EXPECT_EQ(value(*mixer, "/Mixing/InputChannel/Fader/Level/MMS", 0), -100);
}

TEST(Rq10Mixer, ValueAccessOutsideTheChannelsIsHarmless)
{
    MixerPtr mixer = makeMixer();
    ParameterPtr p(mixer->CreateParameter("/Mixing/Stereo/Fader/Level/MMS"));
    mixer->SetValue(p.get(), 4, 99, 0);
    mixer->SetValue(p.get(), -1, 99, 0);
    mixer->SetValue(nullptr, 0, 99, 0);
    EXPECT_EQ(mixer->GetValue(p.get(), 4, 0), 0);
    EXPECT_EQ(mixer->GetValue(p.get(), -1, 0), 0);
    EXPECT_EQ(mixer->GetValue(nullptr, 0, 0), 0);
    mixer->SetValue(p.get(), 3, 99, 7);   // the sub-index plays no part
    EXPECT_EQ(mixer->GetValue(p.get(), 3, 0), 99);
}

TEST(Rq10Mixer, StoringTheCurrentMemoryMakesARecallableScene)
{
    MixerPtr mixer = makeMixer();
    mixer->SetCurrentSceneMemory(200);
    ParameterPtr p(mixer->CreateParameter("/Mixing/Matrix/Fader/Level/MMS"));
    mixer->SetValue(p.get(), 5, -450, 0);
    mixer->StoreCurrentSceneMemory(300);
    mixer->StoreCurrentSceneMemory(0);        // outside the scene numbers: ignored
    mixer->StoreCurrentSceneMemory(99999);

    unsigned int scenes[8] = {};
    unsigned int count = 8;
    mixer->GetSceneList(count, scenes);
    ASSERT_EQ(count, 3u);
    EXPECT_EQ(scenes[0], 100u);
    EXPECT_EQ(scenes[1], 200u);
    EXPECT_EQ(scenes[2], 300u);

    mixer->SetCurrentSceneMemory(100);
    EXPECT_EQ(mixer->GetValue(p.get(), 5, 0), 0);
    mixer->SetCurrentSceneMemory(300);
    EXPECT_EQ(mixer->GetValue(p.get(), 5, 0), -450);
    EXPECT_EQ(value(*mixer, "/Mixing/InputChannel/Fader/Level/MMS", 1), -900);
    EXPECT_EQ(mixer->GetTitle(300), "");
    EXPECT_TRUE(mixer->SceneLibraryHasData(300));
}

TEST(Rq10Mixer, SceneListHonoursTheCallersCapacity)
{
    MixerPtr mixer = makeMixer();
    unsigned int scenes[2] = {7, 7};
    unsigned int count = 1;
    mixer->GetSceneList(count, scenes);
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(scenes[1], 7u);
}

TEST(Rq10Mixer, SceneInformation)
{
    MixerPtr mixer = makeMixer();
    EXPECT_EQ(mixer->GetTitle(100), "One");
    EXPECT_EQ(mixer->GetComment(100), "first");
    EXPECT_TRUE(mixer->GetProtect(100));
    EXPECT_FALSE(mixer->GetProtect(200));
    const DateTime t = mixer->GetDateTime(100);
    EXPECT_EQ(t.year * 10000 + t.month * 100 + t.day, 300001);
    EXPECT_EQ(t.hour * 10000 + t.minute * 100 + t.second, 30405);
    EXPECT_EQ(mixer->GetDateTime(200).year, 0);
    // Unknown scenes read as empty and ignore writes.
    std::string title = "x";
    mixer->SetTitle(title, 555);
    EXPECT_EQ(mixer->GetTitle(555), "");
    EXPECT_FALSE(mixer->LibraryHasValidData(555));
    title = "Zwei";
    mixer->SetTitle(title, 200);
    EXPECT_EQ(mixer->GetTitle(200), "Zwei");
}

TEST(Rq10Mixer, NameListsHaveOneTextPerChannel)
{
    MixerPtr mixer = makeMixer();
    EXPECT_EQ(mixer->GetNameParameterNum(), 9);
    QStringList inputs;
    mixer->GetNameParameterList(0, inputs);
    EXPECT_EQ(inputs.size(), 145);
    EXPECT_EQ(inputs.first(), QStringLiteral("/Mixing/InputChannel/Label:0/Name:0/MMS"));

    QStringList dcas{QStringLiteral("kept")};
    mixer->GetNameParameterList(4, dcas);
    ASSERT_EQ(dcas.size(), 1 + 1 + 32);
    EXPECT_EQ(dcas[0], QStringLiteral("kept"));
    EXPECT_EQ(dcas[2], QStringLiteral("Drums"));
    EXPECT_EQ(dcas[3], QString());
    EXPECT_EQ(dcas[4], QStringLiteral("Vox"));

    QStringList none;
    mixer->GetNameParameterList(9, none);
    mixer->GetNameParameterList(-1, none);
    EXPECT_TRUE(none.isEmpty());
}

TEST(Rq10Mixer, SettingANameListWritesOnlyItsChannels)
{
    MixerPtr mixer = makeMixer();
    QStringList stereo{QStringLiteral("/Mixing/Stereo/Label:0/Name:0/MMS"), QStringLiteral("A"),
                       QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D"),
                       QStringLiteral("beyond")};
    mixer->SetNameParameterList(stereo, "ignored");
    QStringList unknown{QStringLiteral("/Mixing/Nope/Label:0/Name:0/MMS"), QStringLiteral("X")};
    mixer->SetNameParameterList(unknown, "ignored");

    QStringList back;
    mixer->GetNameParameterList(3, back);
    EXPECT_EQ(back, (QStringList{QStringLiteral("/Mixing/Stereo/Label:0/Name:0/MMS"),
                                 QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                                 QStringLiteral("D")}));
}
