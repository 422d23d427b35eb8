// The two wire modes end to end: converting a setup gives the same console
// file in both, as long as the setup avoids what the strict mode loses (a
// refused value inside a channel block takes the whole batch with it; a
// cached block outlives the scene it was read in). A show that hits both
// shows the batched mode giving the rules' values and the strict one not.
#include "PlaxbridgeProcess.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString kSource = QStringLiteral(QORA_SOURCE_DIR);

class WireModes : public ::testing::Test
{
protected:
    // A host directory of its own whose KX9.ini asks for the strict mode;
    // the built one has no WireMode key, so it runs the default.
    static void SetUpTestSuite()
    {
        s_dir = std::make_unique<QTemporaryDir>();
        const QDir bin(PlaxbridgeProcess::binDir());
        const QString strict = s_dir->filePath("strict");
        QDir().mkpath(strict + "/KX9/Descriptor");
        for (const char* file : {"plaxbridge", "libqora.so", "libUtilities.so", "KX9/Descriptor/parameters.txt",
                                 "KX9/Descriptor/initialLoadData.KX9F"})
            QFile::copy(bin.filePath(file), strict + "/" + file);
        QFile ini(strict + "/KX9.ini");
        ini.open(QIODevice::WriteOnly);
        ini.write("[MainApplication]\nVirtualDeviceFilePath=" + bin.filePath("qora-editor").toUtf8()
                  + "\nWireMode=strict\n");
    }
    static void TearDownTestSuite()
    {
        PlaxbridgeProcess::setProgramDirectory(QString());
        s_dir.reset();
    }

    static QString show(const QString& name, const QStringList& options)
    {
        const QString path = s_dir->filePath(name + ".json");
        QProcess::execute("python3", QStringList{kSource + "/tools/make_show.py"} + options
                                         + QStringList{kSource + "/examples/rq10-festival.json", path});
        return path;
    }

    // The console file, its scenes' time stamps masked.
    static QJsonObject convert(const QString& setup, bool strict)
    {
        PlaxbridgeProcess::setProgramDirectory(strict ? s_dir->filePath("strict") : QString());
        const QString output = s_dir->filePath(QStringLiteral("out-%1.KX9F").arg(strict));
        const auto r = PlaxbridgeProcess::run({"convert", "--progress=none", setup, output});
        EXPECT_EQ(r.exitCode, 0) << r.show();
        QFile file(output);
        file.open(QIODevice::ReadOnly);
        QJsonObject console = QJsonDocument::fromJson(file.readAll()).object();
        QJsonArray scenes = console.value("scenes").toArray();
        for (int i = 0; i < scenes.size(); ++i) {
            QJsonObject scene = scenes[i].toObject();
            scene.remove("timeStamp");
            scenes[i] = scene;
        }
        console.insert("scenes", scenes);
        return console;
    }

    static QJsonObject memoryOf(const QJsonObject& console, int scene)
    {
        return console.value("scenes").toArray().at(scene).toObject().value("memory").toObject();
    }

    static std::unique_ptr<QTemporaryDir> s_dir;
};

std::unique_ptr<QTemporaryDir> WireModes::s_dir;

TEST_F(WireModes, BothModesWriteTheSameConsoleFile)
{
    for (const QString& setup : {kSource + "/examples/rq10-festival.json", show("larger", {"--scenes", "4", "--vary"})}) {
        const QJsonObject batched = convert(setup, false);
        ASSERT_EQ(batched.value("scenes").toArray().size(), setup.endsWith("larger.json") ? 4 : 3);
        EXPECT_TRUE(batched == convert(setup, true)) << setup.toStdString();
    }
}

TEST_F(WireModes, OnlyTheBatchedModeKeepsWhatTheStrictModeLoses)
{
    // Scene 2 moves a tremolo onto the racks where scene 1 had a reverb; each
    // scene holds an input icon and a mix key-in source the KX9 refuses.
    const QString setup = show("hazards", {"--scenes", "3", "--hazards"});
    const QJsonObject batched = convert(setup, false);
    const QJsonObject strict = convert(setup, true);

    // Tremolo rate: (110 + the KX9's own value 2, 0 after the reset) / 2.
    const QString rate = "/FX/FX:0/Param:0/Bank:0/Value:1";
    EXPECT_EQ(memoryOf(batched, 1).value(rate).toInt(), 55);
    EXPECT_NE(memoryOf(strict, 1).value(rate).toInt(), 55);   // the reverb's value of scene 1 added

    // Only the refused icon is missing, in every scene.
    for (int scene = 0; scene < 3; ++scene) {
        EXPECT_EQ(memoryOf(batched, scene).value("/Mixing/InputChannel:1/Label/Icon").toString(), "Snare");
        EXPECT_FALSE(memoryOf(batched, scene).contains("/Mixing/InputChannel:5/Label/Icon"));
        EXPECT_FALSE(memoryOf(strict, scene).contains("/Mixing/InputChannel:1/Label/Icon"));
    }
}

// Gaps among the effect units and plug-ins: by default every unit that fits
// lands and reads back after a load, the plug-ins where they were packed;
// the console's own rule loses everything after the first gap. The
// automixer and the GEQ types share GEQ rack 0's type: the strict mode ends
// with the GEQ type written last, the default keeps the source's automixer.
TEST_F(WireModes, UnitsAfterAGapAndTheAutomixerLandOnlyByDefault)
{
    // Effects: a hall on racks 0-1, none, a chorus, a stereo delay. Plug-ins
    // of 6, 0, 4 and 4 slots.
    const QString setup = writeFile(s_dir->filePath("gaps.json"), R"({"format": "rq10-setup", "version": 1,
      "model": "RQ10", "values": {
        "/VelmarRack/VelmarRack2/PlugIn:0/PluginName/MMSFx": {"0": 26, "1": 29, "2": 11, "3": 8, "4-15": 29},
        "/VelmarRack/VelmarRack2/PlugIn:0/LR:0/Parameter:0/Value:0/MMSFx": {"2": 20, "3": 4},
        "/VelmarRack/VelmarRack2/PlugIn:0/PluginName/MMS": {"0": 0, "1": 59, "2": 1, "3": 2, "4-63": 59},
        "/VelmarRack/VelmarRack2/PlugIn:0/LR:0/Parameter:0/Value:0/MMS": {"0": 40, "2": 7, "3": 9},
        "/Mixing/GEQRack2/Type:0/MMSDugan": 5, "/Mixing/GEQRack2/Type:0/MMSGEQ": {"0-1": 1}},
      "scenes": [{"number": 100, "title": "Only"}]})");
    const QString fx = "GetValue /FX/FX/Param:0/PluginName:0/MMS %1 0";
    const QString plugin = "GetValue /VelmarRack/VelmarRack2/PlugIn:0/PluginName/MMS %1 0";
    const QString pluginValue = "GetValue /VelmarRack/VelmarRack2/PlugIn:0/LR:0/Parameter:0/Value:0/MMS %1 0";
    const QString geqType = "GetValue /Mixing/GEQRack2/Type:0/MMS %1 0";
    for (const bool strict : {false, true}) {
        SCOPED_TRACE(strict ? "strict" : "default");
        convert(setup, strict);
        const QString output = s_dir->filePath(QStringLiteral("out-%1.KX9F").arg(strict));
        // After a load the units are numbered in rack order, gaps closed.
        QList<QPair<QString, QString>> rows{{QString("LoadData \"%1\"").arg(output), "OK"},
                                            {fx.arg(0), "= 0"}, {plugin.arg(0), "= 0"}, {pluginValue.arg(0), "= 40"},
                                            {geqType.arg(1), "= 1"}};
        if (strict) {
            rows += {{fx.arg(1), "= 29"}, {plugin.arg(1), "= 59"}, {plugin.arg(2), "= 59"}, {geqType.arg(0), "= 1"}};
        } else {
            rows += {{geqType.arg(0), "= 5"}, {fx.arg(1), "= 11"},
                     {"GetValue /FX/FX/Param:0/Bank:0/Value:0/MMS/Chorus 1 0", "= 85"},
                     {fx.arg(2), "= 8"},
                     {"GetValue /FX/FX/Param:0/Bank:0/Value:0/MMS/StDLY 2 0", "= 10"},
                     {fx.arg(3), "= 29"},
                     {plugin.arg(1), "= 1"}, {pluginValue.arg(1), "= 7"},
                     {plugin.arg(2), "= 2"}, {pluginValue.arg(2), "= 9"},
                     {plugin.arg(3), "= 59"}, {pluginValue.arg(3), "= 0"}};
        }
        PlaxbridgeProcess::setProgramDirectory(strict ? s_dir->filePath("strict") : QString());
        expectShell(rows);
    }
}

} // namespace
