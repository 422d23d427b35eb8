// plaxbridge convert end to end: the shipped RQ10 sample is converted once
// through the plug-in and the editor, and the result is loaded again through
// plaxbridge shell. The expected values are what the conversion rules give
// for the sample's source values (examples/rq10-festival.json).
#include "PlaxbridgeProcess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>

#include <signal.h>

namespace {

const QString kSample = QStringLiteral(QORA_SOURCE_DIR "/examples/rq10-festival.json");

// One scene, empty effect racks: a short conversion.
const QByteArray kOneScene = R"({"format": "rq10-setup", "version": 1, "model": "RQ10",
  "values": {"/VelmarRack/VelmarRack2/PlugIn:0/PluginName/MMSFx": 29,
             "/VelmarRack/VelmarRack2/PlugIn:0/PluginName/MMS": 59},
  "scenes": [{"number": 100, "title": "Only"}]})";

std::string show(const PlaxbridgeProcess::Result& r)
{
    return "exit " + std::to_string(r.exitCode) + "\nstdout:\n" + r.out.toStdString()
           + "\nstderr:\n" + r.err.right(3000).toStdString();
}

QStringList entries(const QString& path)
{
    return QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

QString writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
    return path;
}

class ConvertedSample : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = std::make_unique<QTemporaryDir>();
        s_output = s_dir->filePath(QStringLiteral("festival.KX9F"));
        s_result = PlaxbridgeProcess::run({QStringLiteral("convert"), kSample, s_output}, QByteArray(),
                                          600000);
    }
    static void TearDownTestSuite() { s_dir.reset(); }

    void SetUp() override
    {
        ASSERT_TRUE(s_result.finished) << show(s_result);
        ASSERT_EQ(s_result.exitCode, 0) << show(s_result);
        ASSERT_TRUE(QFileInfo(s_output).isFile());
    }

    // Runs the calls on the converted file in a fresh shell session.
    static QStringList query(QStringList calls)
    {
        calls.prepend(QStringLiteral("LoadData \"%1\"").arg(s_output));
        const auto r = PlaxbridgeProcess::shell(calls);
        EXPECT_TRUE(r.finished) << show(r);
        EXPECT_EQ(r.exitCode, 0) << show(r);
        QStringList lines = r.outLines();
        EXPECT_EQ(lines.value(0), QStringLiteral("OK")) << show(r);
        EXPECT_EQ(lines.size(), calls.size()) << show(r);
        if (!lines.isEmpty())
            lines.removeFirst();
        return lines;
    }

    static QString value(const char* name, int channel)
    {
        return QStringLiteral("GetValue %1 %2 0").arg(QLatin1String(name)).arg(channel);
    }

    static std::unique_ptr<QTemporaryDir> s_dir;
    static QString s_output;
    static PlaxbridgeProcess::Result s_result;
};

std::unique_ptr<QTemporaryDir> ConvertedSample::s_dir;
QString ConvertedSample::s_output;
PlaxbridgeProcess::Result ConvertedSample::s_result;

QStringList results(std::initializer_list<int> values)
{
    QStringList out;
    for (int v : values)
        out << QStringLiteral("= %1").arg(v);
    return out;
}

} // namespace

TEST_F(ConvertedSample, SummaryAndProgressDescribeTheRun)
{
    const QString out = s_result.out;
    EXPECT_TRUE(out.startsWith(QStringLiteral("Converted %1 -> %2\n").arg(kSample, s_output))) << show(s_result);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("scenes +3\\n")).match(out).hasMatch()) << show(s_result);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("parameters +1710 per scene \\(34 without an RQ10 source\\)"))
                    .match(out)
                    .hasMatch())
        << show(s_result);
    for (const char* figure : {"values written", "left alone by filters", "editor commands"}) {
        const auto m = QRegularExpression(QStringLiteral("%1 +(\\d+)\\n").arg(QLatin1String(figure))).match(out);
        ASSERT_TRUE(m.hasMatch()) << figure << "\n" << show(s_result);
        EXPECT_GT(m.captured(1).toLongLong(), 0) << figure;
    }
    EXPECT_TRUE(QRegularExpression(QStringLiteral("name lists +9\\n")).match(out).hasMatch());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("elapsed +\\d+\\.\\d s\\n")).match(out).hasMatch());
    EXPECT_FALSE(out.contains(QStringLiteral("failed converters"))) << show(s_result);
    // Not a terminal: plain progress lines on stderr.
    EXPECT_TRUE(s_result.err.contains(QStringLiteral("scene 1/3: 1.00 \"Soundcheck\", 1710 parameters")));
    EXPECT_TRUE(s_result.err.contains(QStringLiteral("scene 3/3 stored as 2.50")));
    EXPECT_FALSE(s_result.err.contains(QStringLiteral("warning"))) << show(s_result);
    // Only the result is left in the folder, no temporary file.
    EXPECT_EQ(entries(s_dir->path()), QStringList{QStringLiteral("festival.KX9F")});
}

TEST_F(ConvertedSample, ScenesKeepTheirNumbersAndInformation)
{
    EXPECT_EQ(query({QStringLiteral("GetSceneList"), QStringLiteral("GetTitle 100"), QStringLiteral("GetTitle 250"),
                     QStringLiteral("GetComment 200"), QStringLiteral("GetProtect 100"),
                     QStringLiteral("GetProtect 200"), QStringLiteral("GetDateTime 200"),
                     QStringLiteral("GetDateTime 250")}),
              (QStringList{QStringLiteral("= [0,100,200,250]"), QStringLiteral("= \"Soundcheck\""),
                           QStringLiteral(R"(= "Encore \"Skyline\"")"),
                           QStringLiteral("= \"Main set; drums gated, vocals compressed and de-essed\""),
                           QStringLiteral("= false"), QStringLiteral("= true"),
                           QStringLiteral("= [24,5,13,21,0,0]"), QStringLiteral("= [24,5,13,22,35,30]")}));
}

TEST_F(ConvertedSample, DynamicsSlotsAreFilledByTheSourceBanksType)
{
    const char* p0 = "/Mixing/InputChannel/Dynamics:0/Bank:0/Parameter:0/Value/MMS";
    const char* p1 = "/Mixing/InputChannel/Dynamics:0/Bank:0/Parameter:1/Value/MMS";
    const char* p2 = "/Mixing/InputChannel/Dynamics:0/Bank:0/Parameter:2/Value/MMS";
    const char* p3 = "/Mixing/InputChannel/Dynamics:0/Bank:0/Parameter:3/Value/MMS";
    const char* p4 = "/Mixing/InputChannel/Dynamics:0/Bank:0/Parameter:4/Value/MMS";
    const char* p5 = "/Mixing/InputChannel/Dynamics:0/Bank:0/Parameter:5/Value/MMS";
    // The current memory is the last scene converted (2.50), which keeps the
    // common dynamics values.
    EXPECT_EQ(query({
                  // channel 0, a gate: threshold, attack, range (not a release), hold, decay
                  value(p0, 0), value(p1, 0), value(p2, 0), value(p3, 0), value(p4, 0), value(p5, 0),
                  // channel 2, an expander: slot 2 is its release, slot 4 its knee
                  value(p2, 2), value(p4, 2),
                  // channel 6, the RQ compressor: plain copies, gain in slot 5
                  value(p0, 6), value(p3, 6), value(p5, 6),
                  // channel 8, the classic compressor
                  value(p2, 8), value(p5, 8),
                  // channel 19, ducking: range in slot 2
                  value(p2, 19),
                  // channel 14, a FET limiter: nothing written although its
                  // gate and compressor parameters hold values
                  value(p0, 14), value(p2, 14), value(p5, 14),
              }),
              results({-3500, 5, -6000, 120, 300, 0, 180, 1, -1800, 25, 200, 300, 400, -1500, 0, 0, 0}));

    const char* d1 = "/Mixing/InputChannel/Dynamics:1/Bank:0/Parameter:%1/Value/MMS";
    QStringList calls;
    for (int slot = 0; slot < 6; ++slot)
        calls << QStringLiteral("GetValue %1 15 0").arg(QString::fromLatin1(d1).arg(slot));
    calls << value("/Mixing/InputChannel/Dynamics:0/Bank:0/Type/MMS", 14)
          << value("/Mixing/InputChannel/Dynamics:1/Bank:0/Type/MMS", 15);
    // channel 15, processor 1: a de-esser fills slots 0..3 from threshold,
    // frequency, Q and type, and leaves 4 and 5.
    EXPECT_EQ(query(calls), results({-2800, 6300, 18, 1, 0, 0, 6, 4}));
}

TEST_F(ConvertedSample, OnSwitchesAndKeyInSourcesOfTypesTheKx9CannotTake)
{
    EXPECT_EQ(query({
                  // processor 1 of the inputs: FET limiter and diode bridge switched off
                  value("/Mixing/InputChannel/Dynamics:1/Bank:0/On/MMS", 13),
                  value("/Mixing/InputChannel/Dynamics:1/Bank:0/On/MMS", 14),
                  value("/Mixing/InputChannel/Dynamics:1/Bank:0/On/MMS", 15),
                  value("/Mixing/InputChannel/Dynamics:1/KeyIn:0/SourceSelect/MMS", 13),
                  value("/Mixing/InputChannel/Dynamics:1/KeyIn:0/SourceSelect/MMS", 14),
                  value("/Mixing/InputChannel/Dynamics:1/KeyIn:0/SourceSelect/MMS", 15),
                  // processor 0 has no such rule: copied
                  value("/Mixing/InputChannel/Dynamics:0/Bank:0/On/MMS", 14),
                  value("/Mixing/InputChannel/Dynamics:0/Bank:0/On/MMS", 18),
                  // mix bank 1: diode bridge and FET limiter off, RQ compressor kept
                  value("/Mixing/Mix/Dynamics:0/Bank:1/On/MMS", 2),
                  value("/Mixing/Mix/Dynamics:0/Bank:1/On/MMS", 3),
                  value("/Mixing/Mix/Dynamics:0/Bank:1/On/MMS", 4),
              }),
              results({0, 0, 1, 0, 0, 1, 1, 1, 0, 1, 0}));
}

TEST_F(ConvertedSample, PatchPointsAreReplacedWhereTheRulesSaySo)
{
    EXPECT_EQ(query({
                  value("/Mixing/InputChannel/DirectOut/Point/MMS", 0),   // 210
                  value("/Mixing/InputChannel/DirectOut/Point/MMS", 1),   // 200
                  value("/Mixing/InputChannel/DirectOut/Point/MMS", 2),   // 201
                  value("/Mixing/Mix/Insert/Point/MMS", 0),               // 210
                  value("/Mixing/Mix/Insert/Point/MMS", 1),               // 200
                  value("/Mixing/Mix/Insert/Point/MMS", 3),               // 205
                  value("/Mixing/Mix/ToStereo/Point/MMS", 0),             // 210
                  value("/Mixing/Mix/ToStereo/Point/MMS", 1),             // 200
                  value("/Mixing/Mix/ToStereo/Point/MMS", 2),             // 205
                  value("/Mixing/Matrix/Insert/Point/MMS", 0),            // 200
                  value("/Mixing/Matrix/Insert/Point/MMS", 1),            // 210
                  value("/Mixing/Stereo/Insert/Point/MMS", 0),            // 200
                  value("/Mixing/Stereo/Insert/Point/MMS", 1),            // 210
              }),
              results({30, 30, 201, 210, 50, 205, 110, 110, 205, 50, 210, 50, 210}));
}

TEST_F(ConvertedSample, EffectTypesAndTheirValues)
{
    // Unit 0 is an HD hall (26) in the source: the reverb switch makes it
    // the KX9's hall (0), and its HD values stay.
    const char* type = "/FX/FX/Param:0/PluginName:0/MMS";
    EXPECT_EQ(query({
                  value(type, 0), value(type, 1), value(type, 2), value(type, 3), value(type, 4),
                  // unit 1, Chorus (11)
                  value("/FX/FX/Param:0/Bank:0/Value:0/MMS/Chorus", 1),   // T4 of 20
                  value("/FX/FX/Param:0/Bank:0/Value:1/MMS/Chorus", 1),
                  value("/FX/FX/Param:0/Bank:0/Value:3/MMS/Chorus", 1),   // T5 of 110
                  value("/FX/FX/Param:0/Bank:0/Value:5/MMS/Chorus", 1),   // 1 is within range 2
                  value("/FX/FX/MixBalance:0/MMS/Chorus", 1),
                  // unit 2, stereo delay (8)
                  value("/FX/FX/Param:0/Bank:0/Value:0/MMS/StDLY", 2),    // 4 is within range 10
                  value("/FX/FX/Param:0/Bank:0/Value:1/MMS/StDLY", 2),    // 500 is beyond: copied
                  value("/FX/FX/Param:0/Bank:0/Value:6/MMS/StDLY", 2),    // 40 - 16
                  value("/FX/FX/Param:0/Bank:0/Value:8/MMS/StDLY", 2),    // 20 is beyond 13: 13
                  value("/FX/FX/Param:0/Bank:0/Value:9/MMS/StDLY", 2),    // 5 within 13: copied
                  // unit 0, a reverb of type 26: the RevHD slot 0 takes source
                  // parameter 1; the Rev slot 0 (source parameter 0, 99) is filtered out
                  value("/FX/FX/Param:0/Bank:0/Value:0/MMS/RevHD", 0),
                  value("/FX/FX/Param:0/Bank:0/Value:4/MMS/RevHD", 0),    // 70 - 1
                  value("/FX/FX/Param:0/Bank:0/Value:2/MMS/RevHD", 0),    // 5 (scene 2.50) within 10
                  value("/FX/FX/Param:0/Bank:0/Value:6/MMS/RevHD", 0),    // 60 - 16 (scene 2.50)
              }),
              results({0, 11, 8, 16, 29, 85, 37, 233, 2, 64, 10, 500, 24, 13, 5, 33, 69, 10, 44}));
}

TEST_F(ConvertedSample, RacksOfPlugInsAndGraphicEqualisers)
{
    const char* plugin = "/VelmarRack/VelmarRack2/PlugIn:0/PluginName/MMS";
    EXPECT_EQ(query({
                  // Plug-ins of 1, 2 and 3 slots are packed into rack 0 from
                  // slot 0; reading looks at fixed slots, so the third (type 12)
                  // shows at slot 3 and slot 2 is empty (59).
                  value(plugin, 0), value(plugin, 1), value(plugin, 2), value(plugin, 3),
                  value("/VelmarRack/VelmarRack2/PlugIn:0/LR:0/Parameter:0/Value:0/MMS", 1),
                  value("/VelmarRack/VelmarRack2/PlugIn:0/LR:0/Parameter:0/Value:0/MMS", 3),
                  // GEQ racks: 31-band on 0..7, 8-band PEQ on 8 and 9, none on 12
                  value("/Mixing/GEQRack2/Type:0/MMS", 0), value("/Mixing/GEQRack2/Type:0/MMS", 8),
                  value("/Mixing/GEQRack2/Type:0/MMS", 12),
                  value("/Mixing/GEQRack2/AB:0/GEQ:0/Band:12/Gain:0/MMS", 4),
                  value("/Mixing/GEQRack2/AB:0/PEQ:0/Band:2/Frequency/MMS", 8),
                  value("/Mixing/DuganAutomixer/Channel/Weight/MMS", 16),
              }),
              results({3, 5, 59, 12, 12, 7, 1, 3, 0, -450, 2500, -300}));
}

TEST_F(ConvertedSample, NameListsReachTheirChannelsAndUnits)
{
    // The FX library names are read where the units are placed; a fresh
    // session learns the placement from its first FX read, not from a name read.
    const QStringList lines = query({QStringLiteral("GetNameParameterList 0"), QStringLiteral("GetNameParameterList 2"),
                                     QStringLiteral("GetNameParameterList 5"),
                                     QStringLiteral("GetValue /FX/FX/Param:0/PluginName:0/MMS 0 0"),
                                     QStringLiteral("GetNameParameterList 6")});
    ASSERT_EQ(lines.size(), 5);
    // 120 KX9 input channels: the sample names 24 of the RQ10's 144.
    EXPECT_TRUE(lines[0].startsWith(
        QStringLiteral(R"(= ["/Mixing/InputChannel/Label:0/Name:0/MMS","Kick","Snare","Hi-Hat",)")));
    EXPECT_TRUE(lines[0].contains(QStringLiteral(R"("Ambience R","Talkback","",)")));
    EXPECT_EQ(lines[0].count(QLatin1Char(',')), 120);
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral(R"(= ["/Mixing/Mix/Label:0/Name:0/MMS","Mon Drums",)")));
    EXPECT_EQ(lines[1].count(QLatin1Char(',')), 48);
    EXPECT_TRUE(lines[2].startsWith(
        QStringLiteral(R"(= ["/Mixing/Mute/Label:0/Name:0/MMS","Band","Vocals","Playback","FX Returns","Host","All","",)")));
    // The effect units' library names land on the units' racks.
    EXPECT_EQ(lines[4], QStringLiteral(R"(= ["/FX/FX/Param:0/LibraryName:0/MMS","Big Hall","Vocal Chorus",)"
                                       R"("Slap 120","Thickener","","","","","","","","","","","",""])"));
}

TEST_F(ConvertedSample, EachSceneHoldsItsOwnValues)
{
    const char* level = "/Mixing/InputChannel/Fader/Level/MMS";
    const char* on = "/Mixing/InputChannel/Fader/On/MMS";
    const char* gate = "/Mixing/InputChannel/Dynamics:0/Bank:0/Parameter:0/Value/MMS";
    const char* stereo = "/Mixing/Stereo/Fader/Level/MMS";
    // Reads of one block never straddle a recall: the plug-in keeps the last
    // block it read until a read of another block.
    EXPECT_EQ(query({
                  value(on, 0), value(level, 8),                       // current: 2.50
                  QStringLiteral("SetCurrentSceneMemory 200"),
                  value(stereo, 0), value(level, 15), value(level, 18), value(gate, 0),
                  QStringLiteral("SetCurrentSceneMemory 100"),
                  value(on, 0), value(stereo, 1), value(level, 18), value(gate, 0),
              }),
              (QStringList{QStringLiteral("= 0"), QStringLiteral("= -400"), QStringLiteral("OK"),
                           QStringLiteral("= 0"), QStringLiteral("= 0"), QStringLiteral("= -3000"),
                           QStringLiteral("= -3200"), QStringLiteral("OK"), QStringLiteral("= 1"),
                           QStringLiteral("= -2000"), QStringLiteral("= 0"), QStringLiteral("= -3500")}));
}

// --- failures: a clear message, a non-zero status, no partial output ---

class ConvertFailure : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    PlaxbridgeProcess::Result convert(const QString& source, const QString& output)
    {
        return PlaxbridgeProcess::run({QStringLiteral("convert"), source, output});
    }

    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }

    QTemporaryDir dir;
};

TEST_F(ConvertFailure, MalformedSources)
{
    struct Case {
        QByteArray content;
        const char* message;
    };
    const Case cases[] = {
        {"{\"format\": \"rq10-setup\", \"version\": 1,", "not valid JSON"},
        {"{\"format\": \"rq10-setup\", \"version\": 1, \"model\": \"RQ10\", \"scenes\": "
         "[{\"number\": 100, \"values\": {\"/Mixing/InputChannel/Fader/Level/MMS\": {\"150\": 1}}}]}",
         "scenes[0].values[\"/Mixing/InputChannel/Fader/Level/MMS\"]: \"150\" is not a channel"},
        {"", "not valid JSON"},
    };
    const auto missing = convert(path("absent.json"), path("out.KX9F"));
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("bad SOURCE: %1: no such file").arg(path("absent.json"))))
        << show(missing);
    EXPECT_TRUE(missing.out.isEmpty());
    for (const Case& c : cases) {
        const QString source = writeFile(path("bad.json"), c.content);
        const auto r = convert(source, path("out.KX9F"));
        ASSERT_TRUE(r.finished);
        EXPECT_EQ(r.exitCode, 1) << show(r);
        EXPECT_TRUE(r.err.contains(QLatin1String(c.message))) << show(r);
        EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("bad.json")});
    }
}

TEST_F(ConvertFailure, WrongModelLeavesAnExistingOutputUntouched)
{
    QFile sample(kSample);
    ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
    QByteArray content = sample.readAll();
    content.replace("\"model\": \"RQ10\"", "\"model\": \"RQ20\"");
    const QString source = writeFile(path("rq20.json"), content);
    writeFile(path("out.KX9F"), "previous result");

    const auto r = convert(source, path("out.KX9F"));
    ASSERT_TRUE(r.finished) << show(r);
    EXPECT_EQ(r.exitCode, 1) << show(r);
    EXPECT_TRUE(r.err.contains(QStringLiteral("is a setup of model \"RQ20\": the KX9 plug-in has no "
                                              "conversion from that model")))
        << show(r);
    QFile output(path("out.KX9F"));
    ASSERT_TRUE(output.open(QIODevice::ReadOnly));
    EXPECT_EQ(output.readAll(), QByteArray("previous result"));
    EXPECT_EQ(entries(dir.path()), (QStringList{QStringLiteral("out.KX9F"), QStringLiteral("rq20.json")}));
}

TEST_F(ConvertFailure, UnwritableOutputs)
{
    writeFile(path("plain-file"), "x");
    struct Case {
        QString output;
        QString message;
    };
    const Case cases[] = {
        {path("missing-folder/out.KX9F"), QStringLiteral("%1 does not exist").arg(path("missing-folder"))},
        {path("plain-file/out.KX9F"), QStringLiteral("%1 is not a folder").arg(path("plain-file"))},
        // Even root cannot create files in /proc.
        {QStringLiteral("/proc/out.KX9F"), QStringLiteral("cannot write OUTPUT /proc/out.KX9F: ")},
        {path("out.json"), QStringLiteral("must be a file name ending in .KX9F")},
        {dir.path(), QStringLiteral("must be a file name ending in .KX9F")},
    };
    for (const Case& c : cases) {
        const auto r = convert(kSample, c.output);
        ASSERT_TRUE(r.finished);
        EXPECT_EQ(r.exitCode, 1) << c.output.toStdString() << "\n" << show(r);
        EXPECT_TRUE(r.err.contains(c.message)) << c.message.toStdString() << "\n" << show(r);
        EXPECT_FALSE(r.err.contains(QStringLiteral("starting the KX9 plug-in")))
            << "checked only after starting the editor: " << show(r);
    }
    QDir kx9(path("out.KX9F"));
    EXPECT_FALSE(kx9.exists());
    EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("plain-file")});
}

TEST_F(ConvertFailure, AnEditorThatDoesNotSaveLeavesNoOutput)
{
    const QString source = writeFile(path("one.json"), kOneScene);
    const auto r = PlaxbridgeProcess::run({QStringLiteral("convert"), source, path("out.KX9F")}, QByteArray(),
                                          300000, {QStringLiteral("QORA_EDITOR_OPTIONS=--ng-match=set_save")});
    ASSERT_TRUE(r.finished) << show(r);
    EXPECT_EQ(r.exitCode, 1) << show(r);
    EXPECT_TRUE(r.err.contains(QStringLiteral("the KX9 editor did not save %1").arg(path("out.KX9F")))) << show(r);
    EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("one.json")});
}

TEST_F(ConvertFailure, AnEditorThatDiesMidwayEndsTheConversion)
{
    // The editor exits during the first scene; every later command would
    // wait for its time-out. The conversion must stop instead of crawling on.
    const QString source = writeFile(path("one.json"), kOneScene);
    QElapsedTimer clock;
    clock.start();
    const auto r = PlaxbridgeProcess::run({QStringLiteral("convert"), source, path("out.KX9F")}, QByteArray(),
                                          600000, {QStringLiteral("QORA_EDITOR_OPTIONS=--exit-after=30")});
    ASSERT_TRUE(r.finished) << show(r);
    EXPECT_EQ(r.exitCode, 1) << show(r);
    EXPECT_TRUE(r.err.contains(QStringLiteral("the KX9 editor stopped answering"))) << show(r);
    EXPECT_TRUE(r.err.contains(QStringLiteral("OUTPUT was not written"))) << show(r);
    EXPECT_EQ(entries(dir.path()), QStringList{QStringLiteral("one.json")});
    EXPECT_LT(clock.elapsed(), 300000);
}

TEST_F(ConvertFailure, UsageErrors)
{
    const auto one = PlaxbridgeProcess::run({QStringLiteral("convert"), kSample});
    EXPECT_EQ(one.exitCode, 2);
    EXPECT_TRUE(one.err.contains(QStringLiteral("convert needs SOURCE and OUTPUT.KX9F"))) << show(one);
    const auto option = PlaxbridgeProcess::run({QStringLiteral("convert"), QStringLiteral("--fast"), kSample,
                                                path("o.KX9F")});
    EXPECT_EQ(option.exitCode, 2);
    const auto progress = PlaxbridgeProcess::run({QStringLiteral("convert"), QStringLiteral("--progress=loud"),
                                                  kSample, path("o.KX9F")});
    EXPECT_EQ(progress.exitCode, 2);
    EXPECT_TRUE(entries(dir.path()).isEmpty());
}

TEST_F(ConvertFailure, InterruptedConversionLeavesNoOutput)
{
    QProcess process;
    PlaxbridgeProcess::start(process, {QStringLiteral("convert"), QStringLiteral("--progress=lines"), kSample,
                                       path("out.KX9F")});
    process.closeWriteChannel();
    QByteArray err;
    QElapsedTimer waited;
    waited.start();
    while (!err.contains("scene 1/3:") && waited.elapsed() < 120000
           && process.state() == QProcess::Running) {
        process.waitForReadyRead(100);
        err += process.readAllStandardError();
    }
    ASSERT_TRUE(err.contains("scene 1/3:")) << err.toStdString();
    ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    const auto r = PlaxbridgeProcess::finish(process, 60000);
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 130) << show(r);
    EXPECT_TRUE(r.err.contains(QStringLiteral("interrupted; OUTPUT was not written"))) << show(r);
    EXPECT_FALSE(r.out.contains(QStringLiteral("Converted")));
    EXPECT_TRUE(entries(dir.path()).isEmpty()) << entries(dir.path()).join(QLatin1Char(' ')).toStdString();
}
