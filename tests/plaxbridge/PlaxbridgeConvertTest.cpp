// plaxbridge convert end to end: the shipped RQ10 sample is converted once
// through the plug-in and the editor, with both reports, and the result is
// loaded again through plaxbridge shell. The expected values are what the
// conversion rules give for the sample's source values
// (examples/rq10-festival.json).
#include "PlaxbridgeProcess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <memory>

#include <signal.h>

namespace {

const QString kSample = QStringLiteral(QORA_SOURCE_DIR "/examples/rq10-festival.json");

// One scene, empty effect racks: a short conversion.
const QByteArray kOneScene = R"({"format": "rq10-setup", "version": 1, "model": "RQ10",
  "values": {"/VelmarRack/VelmarRack2/PlugIn:0/PluginName/MMSFx": 29,
             "/VelmarRack/VelmarRack2/PlugIn:0/PluginName/MMS": 59},
  "scenes": [{"number": 100, "title": "Only"}]})";

class ConvertedSample : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = std::make_unique<QTemporaryDir>();
        s_result = PlaxbridgeProcess::run({"convert", "--report", path("report.json"), "--report", path("report.html"),
                                           kSample, path("festival.KX9F")});
    }
    static void TearDownTestSuite() { s_dir.reset(); }

    void SetUp() override
    {
        ASSERT_EQ(s_result.exitCode, 0) << s_result.show();
    }

    static QString path(const char* name) { return s_dir->filePath(name); }
    static QString value(const char* name, int channel)
    {
        return QString("GetValue %1 %2 0").arg(name).arg(channel);
    }

    static std::unique_ptr<QTemporaryDir> s_dir;
    static PlaxbridgeProcess::Result s_result;
};

std::unique_ptr<QTemporaryDir> ConvertedSample::s_dir;
PlaxbridgeProcess::Result ConvertedSample::s_result;

} // namespace

TEST_F(ConvertedSample, SummaryAndProgressDescribeTheRun)
{
    const QString out = s_result.out;
    EXPECT_TRUE(out.startsWith(QString("Converted %1 -> %2\n").arg(kSample, path("festival.KX9F")))) << s_result.show();
    for (const char* line : {"scenes +3\\n", "parameters +1710 per scene \\(34 without an RQ10 source\\)",
                             "name lists +9\\n", "elapsed +\\d+\\.\\d s\\n", "values written +[1-9]\\d*\\n",
                             "left alone by filters +[1-9]\\d*\\n", "editor commands +[1-9]\\d*\\n"})
        EXPECT_TRUE(out.contains(QRegularExpression(line))) << line << "\n" << s_result.show();
    EXPECT_FALSE(out.contains("failed converters")) << s_result.show();
    // Not a terminal: plain progress lines on stderr.
    EXPECT_TRUE(s_result.err.contains("scene 1/3: 1.00 \"Soundcheck\", 1710 parameters"));
    EXPECT_TRUE(s_result.err.contains("scene 3/3 stored as 2.50"));
    EXPECT_FALSE(s_result.err.contains("warning")) << s_result.show();
    // Only the result and the reports are left in the folder, no temporary file.
    EXPECT_EQ(entries(s_dir->path()), (QStringList{"festival.KX9F", "report.html", "report.json"}));
}

// Telling values of each rule family, read back in one session.
TEST_F(ConvertedSample, TheRulesValuesReachTheConsoleFile)
{
    auto dyn = [](int processor, int slot, int channel) {
        return QString("GetValue /Mixing/InputChannel/Dynamics:%1/Bank:0/Parameter:%2/Value/MMS %3 0")
            .arg(processor).arg(slot).arg(channel);
    };
    const char* fxType = "/FX/FX/Param:0/PluginName:0/MMS";
    const char* level = "/Mixing/InputChannel/Fader/Level/MMS";
    expectShell({
        {QString("LoadData \"%1\"").arg(path("festival.KX9F")), "OK"},
        {"GetSceneList", "= [0,100,200,250]"},
        {"GetTitle 250", R"(= "Encore \"Skyline\"")"},
        {"GetProtect 200", "= true"},
        {"GetDateTime 250", "= [24,5,13,22,35,30]"},
        // Dynamics slots follow the source bank's type (the current memory is
        // the last scene, 2.50): a gate's slot 2 is its range, an expander's
        // its release; the compressors' gain is in slot 5; a FET limiter
        // writes nothing; a de-esser fills slots 0..3.
        {dyn(0, 2, 0), "= -6000"}, {dyn(0, 2, 2), "= 180"}, {dyn(0, 5, 8), "= 400"}, {dyn(0, 2, 19), "= -1500"},
        {dyn(0, 0, 14), "= 0"},    {dyn(1, 1, 15), "= 6300"}, {dyn(1, 3, 15), "= 1"}, {dyn(1, 4, 15), "= 0"},
        // Types the KX9 cannot take are switched off and their key-in reset.
        {value("/Mixing/InputChannel/Dynamics:1/Bank:0/On/MMS", 13), "= 0"},
        {value("/Mixing/InputChannel/Dynamics:1/Bank:0/On/MMS", 15), "= 1"},
        {value("/Mixing/InputChannel/Dynamics:1/KeyIn:0/SourceSelect/MMS", 14), "= 0"},
        {value("/Mixing/Mix/Dynamics:0/Bank:1/On/MMS", 2), "= 0"},
        // Patch points are replaced where the rules say so.
        {value("/Mixing/InputChannel/DirectOut/Point/MMS", 0), "= 30"},   // 210
        {value("/Mixing/InputChannel/DirectOut/Point/MMS", 2), "= 201"},
        {value("/Mixing/Mix/Insert/Point/MMS", 1), "= 50"},               // 200
        {value("/Mixing/Matrix/Insert/Point/MMS", 1), "= 210"},
        // Effect types: unit 0, an HD hall (26), becomes the KX9's hall (0)
        // and keeps its HD values; values pass through tables and ranges.
        {value(fxType, 0), "= 0"}, {value(fxType, 1), "= 11"}, {value(fxType, 4), "= 29"},
        {value("/FX/FX/Param:0/Bank:0/Value:0/MMS/Chorus", 1), "= 85"},   // T4 of 20
        {value("/FX/FX/Param:0/Bank:0/Value:0/MMS/StDLY", 2), "= 10"},    // 4 is within range 10
        {value("/FX/FX/Param:0/Bank:0/Value:1/MMS/StDLY", 2), "= 500"},   // beyond: copied
        {value("/FX/FX/Param:0/Bank:0/Value:6/MMS/StDLY", 2), "= 24"},    // 40 - 16
        {value("/FX/FX/Param:0/Bank:0/Value:4/MMS/RevHD", 0), "= 69"},    // 70 - 1
        // Plug-ins of 1, 2 and 3 slots pack into rack 0; reads find them
        // where they were packed.
        {value("/VelmarRack/VelmarRack2/PlugIn:0/PluginName/MMS", 2), "= 12"},
        {value("/VelmarRack/VelmarRack2/PlugIn:0/LR:0/Parameter:0/Value:0/MMS", 2), "= 7"},
        {value("/VelmarRack/VelmarRack2/PlugIn:0/PluginName/MMS", 3), "= 59"},
        // GEQ racks: 31-band on 0..7, 8-band PEQ on 8 and 9.
        {value("/Mixing/GEQRack2/Type:0/MMS", 8), "= 3"},
        {value("/Mixing/GEQRack2/AB:0/GEQ:0/Band:12/Gain:0/MMS", 4), "= -450"},
        {value("/Mixing/DuganAutomixer/Channel/Weight/MMS", 16), "= -300"},
        // Each scene holds its own values. Reads of one block never straddle
        // a recall: the plug-in keeps the last block it read until a read of
        // another block.
        {value(level, 8), "= -400"},
        {"SetCurrentSceneMemory 200", "OK"},
        {value("/Mixing/Stereo/Fader/Level/MMS", 0), "= 0"}, {value(level, 18), "= -3000"}, {dyn(0, 0, 0), "= -3200"},
        {"SetCurrentSceneMemory 100", "OK"},
        {value("/Mixing/Stereo/Fader/Level/MMS", 1), "= -2000"}, {value(level, 18), "= 0"}, {dyn(0, 0, 0), "= -3500"},
    });
}

TEST_F(ConvertedSample, NameListsReachTheirChannelsAndUnits)
{
    // The FX library names are read where the units are placed; a fresh
    // session learns the placement from its first FX read, not from a name read.
    expectShell({
        {QString("LoadData \"%1\"").arg(path("festival.KX9F")), "OK"},
        {"GetNameParameterList 0", R"(= ["/Mixing/InputChannel/Label:0/Name:0/MMS","Kick","Snare","Hi-Hat",...)"},
        {"GetNameParameterList 2", R"(= ["/Mixing/Mix/Label:0/Name:0/MMS","Mon Drums",...)"},
        {"GetNameParameterList 5",
         R"(= ["/Mixing/Mute/Label:0/Name:0/MMS","Band","Vocals","Playback","FX Returns","Host","All","",...)"},
        {"GetValue /FX/FX/Param:0/PluginName:0/MMS 0 0", "= 0"},
        {"GetNameParameterList 6", R"(= ["/FX/FX/Param:0/LibraryName:0/MMS","Big Hall","Vocal Chorus",)"
                                   R"("Slap 120","Thickener","","","","","","","","","","","",""])"},
    });
}

// Every value written is landed, refused or without a place; the page says
// what the JSON says.
TEST_F(ConvertedSample, TheReportsAccountForEveryValue)
{
    QFile json(path("report.json"));
    ASSERT_TRUE(json.open(QIODevice::ReadOnly));
    const QJsonObject report = QJsonDocument::fromJson(json.readAll()).object();
    const QJsonObject totals = report.value("totals").toObject();
    QJsonArray counted = report.value("scenes").toArray();
    ASSERT_EQ(counted.size(), 3);
    counted.append(QJsonObject{{"values", totals}});
    for (const QJsonValue& s : counted) {
        const QJsonObject v = s.toObject().value("values").toObject();
        EXPECT_EQ(v.value("written").toInt(), v.value("landed").toInt() + v.value("refused").toInt()
                                                  + v.value("noPlace").toInt());
        EXPECT_GT(v.value("landed").toInt(), 0);
    }
    // The reverb switch lands: nothing of the sample is refused.
    EXPECT_EQ(totals.value("refused").toInt(), 0);
    EXPECT_EQ(report.value("notInSource").toArray().size(), 34);
    EXPECT_TRUE(s_result.out.contains(QRegularExpression(QString("landed +%1\n").arg(totals.value("landed").toInt()))))
        << s_result.show();

    // The page is well-formed, draws the racks and opens with the same totals.
    QFile file(path("report.html"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString page = QString::fromUtf8(file.readAll());
    QXmlStreamReader xml(page);
    while (!xml.atEnd())
        xml.readNext();
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString() << " at line " << xml.lineNumber();
    for (const char* id : {"fx-racks-100", "velmar-racks-100", "fx-racks-250", "velmar-racks-250"})
        EXPECT_TRUE(page.contains(QString("id=\"%1\"").arg(id))) << id;
    for (const char* key : {"written", "landed", "refused", "noPlace", "toEmptyUnits", "leftAlone"}) {
        const QString cell = QString("data-key=\"%1\">%2<").arg(key).arg(totals.value(key).toVariant().toLongLong());
        EXPECT_EQ(page.indexOf(cell), page.indexOf(QString("data-key=\"%1\"").arg(key))) << cell.toStdString();
    }

    // Each scene's strips as the written file holds them, under the scene:
    // its own faders, and the names of the current memory (grey, "current").
    EXPECT_EQ(page.count("<div class=\"console\""), 3);
    const struct {
        int scene;
        int channel;
        int fader;
        bool on;
        const char* name;
    } strips[] = {{100, 18, 0, true, "Host Mic"}, {200, 0, -500, true, "Kick"}, {200, 18, -3000, true, "Host Mic"},
                  {250, 0, 0, false, "Kick"},     {250, 8, -400, true, "Bass DI"}};
    for (const auto& strip : strips) {
        const int start = page.indexOf(QString("id=\"console-%1\"").arg(strip.scene));
        ASSERT_GT(start, page.indexOf(QString("id=\"velmar-racks-%1\"").arg(strip.scene))) << strip.scene;
        const QString section = page.mid(start, page.indexOf("<h2>", start) - start);
        EXPECT_EQ(section.count("<div class=\"strip"), 120 + 48 + 12 + 4 + 24) << strip.scene;
        const QRegularExpression drawn(QString("<div class=\"strip%1\" data-kind=\"InputChannel\" data-channel=\"%2\" "
                                               "data-fader=\"%3\" title=\"[^\"]*\"><div class=\"num\">IN %4</div>"
                                               "<div class=\"name current\">%5</div>")
                                           .arg(strip.on ? "" : " muted").arg(strip.channel).arg(strip.fader)
                                           .arg(strip.channel + 1).arg(strip.name));
        EXPECT_TRUE(section.contains(drawn)) << drawn.pattern().toStdString();
    }
}

// --- failures: a clear message, a non-zero status, no partial output ---

class ConvertFailure : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const char* name) const { return dir.filePath(name); }

    QTemporaryDir dir;
};

TEST_F(ConvertFailure, BadSourcesOutputsAndArguments)
{
    writeFile(path("plain-file"), "x");
    const struct {
        QStringList arguments;
        int exitCode;
        QString message;
    } rows[] = {
        {{path("absent.json"), path("out.KX9F")}, 1, "bad SOURCE: " + path("absent.json") + ": no such file"},
        {{kSample, path("missing-folder/out.KX9F")}, 1, path("missing-folder") + " does not exist"},
        {{kSample, path("plain-file/out.KX9F")}, 1, path("plain-file") + " is not a folder"},
        // Even root cannot create files in /proc.
        {{kSample, "/proc/out.KX9F"}, 1, "cannot write OUTPUT /proc/out.KX9F: "},
        {{kSample, path("out.json")}, 1, "must be a file name ending in .KX9F"},
        {{kSample, dir.path()}, 1, "must be a file name ending in .KX9F"},
        {{kSample}, 2, "convert needs SOURCE and OUTPUT.KX9F"},
        {{"--progress=loud", kSample, path("o.KX9F")}, 2, "--progress"},
    };
    for (const auto& row : rows) {
        const auto r = PlaxbridgeProcess::run(QStringList{"convert"} + row.arguments);
        EXPECT_EQ(r.exitCode, row.exitCode) << r.show();
        EXPECT_TRUE(r.err.contains(row.message)) << row.message.toStdString() << "\n" << r.show();
        EXPECT_FALSE(r.err.contains("starting the KX9 plug-in")) << "checked only after starting the editor: "
                                                                 << r.show();
        EXPECT_TRUE(r.out.isEmpty()) << r.show();
    }
    EXPECT_EQ(entries(dir.path()), QStringList{"plain-file"});
}

TEST_F(ConvertFailure, WrongModelLeavesAnExistingOutputUntouched)
{
    QFile sample(kSample);
    ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
    const QString source = writeFile(path("rq20.json"), sample.readAll().replace("\"model\": \"RQ10\"",
                                                                                 "\"model\": \"RQ20\""));
    writeFile(path("out.KX9F"), "previous result");
    const auto r = PlaxbridgeProcess::run({"convert", source, path("out.KX9F")});
    EXPECT_EQ(r.exitCode, 1) << r.show();
    EXPECT_TRUE(r.err.contains("is a setup of model \"RQ20\": the KX9 plug-in has no conversion from that model"))
        << r.show();
    QFile output(path("out.KX9F"));
    ASSERT_TRUE(output.open(QIODevice::ReadOnly));
    EXPECT_EQ(output.readAll(), QByteArray("previous result"));
    EXPECT_EQ(entries(dir.path()), (QStringList{"out.KX9F", "rq20.json"}));
}

// An editor that refuses to save, or dies during the first scene: the
// conversion stops at the first command left unanswered (the link's limits
// are shrunk, as the wait for that one answer is all this costs). The bar is
// cleared before the message.
TEST_F(ConvertFailure, AnEditorThatDoesNotSaveOrDiesLeavesNoOutput)
{
    const QString source = writeFile(path("one.json"), kOneScene);
    const struct {
        const char* options;
        QString message;   // a pattern
    } rows[] = {{"--ng-match=set_save", "the KX9 editor did not save " + QRegularExpression::escape(path("out.KX9F"))},
                {"--exit-after=30", "the KX9 editor exited \\(status 3\\) during scene 1 of 1; OUTPUT was not written"}};
    for (const auto& row : rows) {
        const auto r = PlaxbridgeProcess::run({"convert", "--progress=bar", source, path("out.KX9F")}, QByteArray(), 600000,
                                              {QString("QORA_EDITOR_OPTIONS=") + row.options,
                                               "QORA_LINK_TIMINGS=shortLimit=300,longLimit=1000"});
        EXPECT_EQ(r.exitCode, 1) << r.show();
        EXPECT_TRUE(r.err.contains(QRegularExpression(row.message))) << r.show();
        EXPECT_TRUE(r.err.contains("scene 1/1 (1.00)") && r.err.contains("\r\033[K")) << "no bar drawn: " << r.show();
        EXPECT_EQ(entries(dir.path()), QStringList{"one.json"});
    }
}

// The editor that plaxbridge `parent` adopted; 0 when there is none.
pid_t editorOf(qint64 parent)
{
    for (const QString& pid : QDir("/proc").entryList(QDir::Dirs)) {
        QFile stat("/proc/" + pid + "/stat");
        const QByteArray text = stat.open(QIODevice::ReadOnly) ? stat.readAll() : QByteArray();
        if (!text.isEmpty() && text.mid(text.lastIndexOf(')') + 2).split(' ').value(1).toLongLong() == parent)
            return pid.toInt();
    }
    return 0;
}

// An editor killed, or stopped, in the middle of the conversion: the error
// event names the cause and the scene, nothing is written and no editor is
// left (a stopped one is ended by plaxbridge).
TEST_F(ConvertFailure, AnEditorKilledOrStoppedIsNamed)
{
    for (const auto& row : {std::make_pair(SIGKILL, "exited \\(signal 9\\)"), std::make_pair(SIGSTOP, "stopped answering")}) {
        QProcess process;
        PlaxbridgeProcess::start(process, {"convert", "--progress=json", kSample, path("out.KX9F")},
                                 {"QORA_LINK_TIMINGS=shortLimit=1500,longLimit=3000"});
        QByteArray err;
        while (!err.contains("\"sceneBegin\"") && process.state() == QProcess::Running)
            process.waitForReadyRead(100), err += process.readAllStandardError();
        const pid_t editor = editorOf(process.processId());
        ASSERT_GT(editor, 0) << err.toStdString();
        ::kill(editor, row.first);
        const auto r = PlaxbridgeProcess::finish(process, 120000);
        EXPECT_EQ(r.exitCode, 1) << r.show();
        EXPECT_TRUE(r.err.contains(QRegularExpression(QString("\\{\"event\":\"error\",\"message\":\"the KX9 editor %1 during "
                                                              "scene \\d of 3.*; OUTPUT was not written\"\\}\n\\{\"event\":\"end\",\"status\":1\\}")
                                                          .arg(row.second))))
            << r.show();
        EXPECT_TRUE(entries(dir.path()).isEmpty());
        EXPECT_NE(::kill(editor, 0), 0) << "editor left behind";
    }
}

TEST_F(ConvertFailure, InterruptedConversionLeavesNoOutput)
{
    QProcess process;
    PlaxbridgeProcess::start(process, {"convert", "--progress=lines", kSample, path("out.KX9F")});
    process.closeWriteChannel();
    QByteArray err;
    QElapsedTimer waited;
    waited.start();
    while (!err.contains("scene 1/3:") && waited.elapsed() < 120000 && process.state() == QProcess::Running) {
        process.waitForReadyRead(100);
        err += process.readAllStandardError();
    }
    ASSERT_TRUE(err.contains("scene 1/3:")) << err.toStdString();
    ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    const auto r = PlaxbridgeProcess::finish(process, 60000);
    EXPECT_EQ(r.exitCode, 130) << r.show();
    EXPECT_TRUE(r.err.contains("interrupted; OUTPUT was not written")) << r.show();
    EXPECT_FALSE(r.out.contains("Converted"));
    EXPECT_TRUE(entries(dir.path()).isEmpty()) << entries(dir.path()).join(' ').toStdString();
}
