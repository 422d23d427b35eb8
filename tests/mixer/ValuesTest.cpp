// GetValue/SetValue of the non-rack families through the plug-in's IMixer,
// against the editor program.
#include "EditorHarness.h"

#include "host/IMixer.h"
#include "host/IParameter.h"

#include <QFile>
#include <algorithm>
#include <functional>

using EditorValues = SharedEditor;

// Every channel written in increasing order, as a conversion does, then read
// back: the catalogue's channel range matches what the editor holds.
TEST_F(EditorValues, EveryNonRackFamilyRoundTrips)
{
    struct Family {
        const char* name;
        int channels;
        std::function<int(int)> value; // host value written to a channel
    };
    const Family families[] = {
        {"/SceneInfo/Playback:0/On/MMS", 1, [](int) { return 1; }},
        {"/Mixing/InputChannel/Fader/Level/MMS", 120, [](int ch) { return -9000 + 37 * ch; }},
        {"/Mixing/InputChannel/Label/Icon/MMS", 120, [](int ch) { return ch % 56; }},
        {"/Mixing/InputChannel/ToMix:47/Level/MMS", 120, [](int ch) { return ch * 3; }},
        {"/Mixing/Matrix/PEQ:0/Bank:1/Type/MMS", 12, [](int ch) { return ch % 4; }},
        {"/Mixing/Mix/ToStereo/PanMode/MMS", 48, [](int ch) { return (ch + 1) % 2; }},
        {"/Mixing/Stereo/Label/Color/MMS", 4, [](int ch) { return 10 - ch; }},
        {"/Setup/InputChannel/MuteSafe:0/On/MMS", 120, [](int ch) { return ch % 3 == 0; }},
        {"/Setup/Stereo/MuteSafe/On/MMS", 4, [](int ch) { return ch == 2; }},
        {"/Mixing/DCA/Fader/Level/MMS", 24, [](int ch) { return -ch; }},
        {"/Mixing/MixingMode/Mode/MMS", 1, [](int) { return 1; }},
        {"/Mixing/Surround/DownMix:0/SurroundBus:3/Level:0/MMS", 1, [](int) { return -20; }},
        {"/Mixing/DuganAutomixer/Channel/Weight/MMS", 64, [](int ch) { return ch * 2; }},
        {"/Mixing/GEQRack2/Type:0/MMS", 32, [](int ch) { return ch % 6; }},
        {"/Mixing/InputChannel/Dynamics:1/Bank:0/Type/MMS", 120, [](int ch) { return ch % 8; }},
    };
    for (const Family& f : families) {
        IParameter* p = parameter(f.name);
        int lo = 0, hi = 0, sub = 0, subMax = 0;
        mixer->LookupParameterRanges(f.name, lo, hi, sub, subMax);
        ASSERT_EQ(hi + 1, f.channels) << f.name;
        for (int ch = 0; ch < f.channels; ++ch)
            mixer->SetValue(p, ch, f.value(ch), sub);
        for (int ch = 0; ch < f.channels; ++ch)
            EXPECT_EQ(mixer->GetValue(p, ch, sub), f.value(ch)) << f.name << " channel " << ch;
    }
    // The automixer channels live under rack 0.
    const auto singles = withCommand(harness().requests(), "set_prm_val");
    EXPECT_TRUE(std::any_of(singles.begin(), singles.end(), [](const QJsonObject& r) {
        return addressOf(r) == "/Mixing/DuganAutomixer:0/Channel:63/Weight/MMS";
    }));
}

TEST_F(EditorValues, ValuesAndTextsOutsideTheTables)
{
    // A console file can hold texts the host's tables lack.
    QString path = EditorHarness::workDir() + QStringLiteral("/foreign-texts.KX9F");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("{\"format\": \"KX9F\", \"version\": 1, \"scenes\": [], \"current\": {"
                   "\"/Mixing/DCA:3/Label/Color\": \"Mauve\", \"/Mixing/DCA:4/Label/Color\": \"Green\","
                   "\"/Mixing/DCA:5/Label:0/Name:0\": \"Brass\"}}");
    }
    LogCapture log;
    mixer->LoadData(path);
    QFile::remove(path);
    ASSERT_TRUE(log.contains(QStringLiteral("###QORA: LoadData(%1)").arg(path)));

    IParameter* color = parameter("/Mixing/DCA/Label/Color/MMS");
    EXPECT_EQ(mixer->GetValue(color, 3, 0), 11);
    EXPECT_EQ(mixer->GetValue(color, 4, 0), 7);
    EXPECT_EQ(mixer->GetValue(color, 5, 0), 0); // the default, "Blue"
    // A name is text without a table: it reads as 0.
    EXPECT_EQ(mixer->GetValue(parameter("/Mixing/DCA/Label:0/Name:0/MMS"), 5, 0), 0);
    QStringList names;
    mixer->GetNameParameterList(4, names);
    EXPECT_EQ(names.value(6), "Brass");

    // A value without a text is written as a number, which a text value of
    // the console refuses.
    IParameter* matrixColor = parameter("/Mixing/Matrix/Label/Color/MMS");
    for (int ch = 0; ch < 12; ++ch)
        mixer->SetValue(matrixColor, ch, ch == 11 ? 11 : 3, 0);
    EXPECT_TRUE(log.contains("###QORA: SetMMSValue[/Mixing/Matrix:11/Label/Color/MMS] ERROR"));
}
