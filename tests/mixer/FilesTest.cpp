// File load and save, the initial load data and memory resets through the
// plug-in's IMixer, against the editor program.
#include "EditorHarness.h"

#include "host/IConversionDescription.h"
#include "host/IFileDescription.h"
#include "host/IMixer.h"
#include "host/IParameter.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

namespace {

class SourceFile : public IFileDescription
{
public:
    explicit SourceFile(std::string type)
        : m_type(std::move(type))
    {
    }
    std::string GetPath() const override { return "/nowhere/source"; }
    std::string GetFileType() const override { return m_type; }

private:
    std::string m_type;
};

class Conversion : public IConversionDescription
{
public:
    explicit Conversion(const std::string& sourceType)
        : m_source(sourceType)
    {
    }
    IFileDescription* GetSource() const override { return const_cast<SourceFile*>(&m_source); }
    IFileDescription* GetTarget() const override { return nullptr; }
    std::string GetSourceMixerId() const override { return "RQ10"; }
    std::string GetTargetMixerId() const override { return "QORA"; }
    void SetOption(QString, int) override {}
    int GetOption(QString) const override { return -1; }

private:
    SourceFile m_source;
};

QString address(const QJsonObject& request)
{
    return infoOf(request).value("prmAddr").toString();
}

const char Level[] = "/Mixing/InputChannel/Fader/Level/MMS";
const char MixLevel[] = "/Mixing/Mix/Fader/Level/MMS";
const char FxType[] = "/FX/FX/Param:0/PluginName:0/MMS";

} // namespace

TEST(EditorFiles, FirstResetIsSkippedLaterResetsWriteTheDefaults)
{
    EditorHarness harness;
    IMixer* mixer = harness.create();
    ASSERT_NE(mixer, nullptr);
    LogCapture log;

    Conversion foreign("RQ10F");
    int mark = harness.mark();
    mixer->ResetMixerMemory(&foreign);
    QList<QJsonObject> sent = harness.requestsSince(mark);
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(commandOf(sent[0]), "set_prm_val");
    EXPECT_EQ(address(sent[0]), "/Setup/RackAllocation:0/RecallSafe:0/On:0");
    EXPECT_EQ(infoOf(sent[0]).value("prmValue").toInt(-1), 0);

    Conversion longerTag("KX9FX");
    mark = harness.mark();
    QElapsedTimer timer;
    timer.start();
    mixer->ResetMixerMemory(&longerTag);
    const qint64 unpaused = timer.elapsed();
    sent = harness.requestsSince(mark);
    EXPECT_TRUE(log.contains("###QORA: Initialize Current Memories"));
    ASSERT_EQ(sent.size(), 1 + 16 * 70 + 2 + 32 * 5 + 1);
    EXPECT_EQ(commandOf(sent[0]), "set_init_current");
    EXPECT_EQ(address(sent[1]), "/FX/FX:0/Param:0/PluginName:0");
    EXPECT_EQ(infoOf(sent[1]).value("prmValue").toString("x"), "");
    EXPECT_EQ(address(sent[1120]), "/Mixing/EffectRack:0/Slot:15/OutputPort:0/Patch:0/Source:0");
    // The input patches: every channel, sent as soon as channel 119 comes.
    ASSERT_EQ(commandOf(sent[1121]), "setData_prm_val");
    ASSERT_EQ(commandOf(sent[1122]), "setData_prm_val");
    const QList<QJsonObject> patches = listOf(sent[1121]) + listOf(sent[1122]);
    ASSERT_EQ(patches.size(), 240);
    EXPECT_EQ(patches[0].value("prmAddr").toString(), "/Mixing/InputChannel:0/InPatch:0/Bank:0/Source:0");
    EXPECT_EQ(patches[1].value("prmAddr").toString(), "/Mixing/InputChannel:0/InPatch:0/Bank:1/Source:0");
    EXPECT_EQ(patches[239].value("prmAddr").toString(), "/Mixing/InputChannel:119/InPatch:0/Bank:1/Source:0");
    EXPECT_EQ(address(sent[1123]), "/Mixing/GEQRack2:0/ItemNum:0");
    EXPECT_EQ(address(sent[1125]), "/Mixing/GEQRack2:0/Type:0");
    EXPECT_TRUE(infoOf(sent[1125]).value("prmValue").isString());
    EXPECT_EQ(address(sent.last()), "/Setup/RackAllocation:0/RecallSafe:0/On:0");

    // A source of this same model pauses the reset for 3 s.
    Conversion own("KX9F");
    timer.restart();
    mixer->ResetMixerMemory(&own);
    const qint64 paused = timer.elapsed();
    EXPECT_GE(paused, 3000);
    EXPECT_GE(paused - unpaused, 2000) << "unpaused " << unpaused << " ms, paused " << paused << " ms";

    mixer->ResetMixerMemory(nullptr);
    EXPECT_TRUE(harness.destroy(mixer));
}

TEST(EditorFiles, StoredSavedLoadedAndRecalledSceneComesBack)
{
    const QString folder = EditorHarness::workDir();
    const QString path = folder + QStringLiteral("/show.KX9F");
    QFile::remove(path);
    QStringList inputNames{"/Mixing/InputChannel/Label:0/Name:0/MMS"};
    for (int ch = 0; ch < 120; ++ch)
        inputNames << QStringLiteral("In %1").arg(ch + 1);
    inputNames[8] = QString::fromUtf8("Gr\xC3\xBC\xC3\x9F Gott");

    {
        EditorHarness harness;
        IMixer* mixer = harness.create();
        ASSERT_NE(mixer, nullptr);
        IParameter* level = mixer->CreateParameter(Level);
        IParameter* mixLevel = mixer->CreateParameter(MixLevel);
        IParameter* fxType = mixer->CreateParameter(FxType);
        for (int ch = 0; ch < 120; ++ch)
            mixer->SetValue(level, ch, -100 * ch, 0);
        mixer->SetValue(fxType, 0, 11, 0);
        mixer->SetNameParameterList(inputNames, "");
        QStringList fxNames{"/VelmarRack/VelmarRack2/PlugIn:0/LR:0/LibraryName:0/MMSFx", "Lush"};
        mixer->SetNameParameterList(fxNames, "");
        mixer->StoreCurrentSceneMemory(250);
        std::string title = "Opening";
        std::string comment = "Act 1";
        mixer->SetTitle(title, 250);
        mixer->SetComment(comment, 250);
        // The current memory moves on after the store.
        for (int ch = 0; ch < 48; ++ch)
            mixer->SetValue(mixLevel, ch, ch + 1, 0);

        LogCapture log;
        QString dir = folder;
        QString name = QStringLiteral("show.KX9F");
        mixer->SaveData(dir, name);
        EXPECT_TRUE(log.contains(QStringLiteral("###QORA: SaveData(%1)").arg(path)));
        for (IParameter* p : {level, mixLevel, fxType})
            p->Destroy();
        EXPECT_TRUE(harness.destroy(mixer));
    }
    ASSERT_TRUE(QFile::exists(path));

    EditorHarness harness;
    IMixer* mixer = harness.create();
    ASSERT_NE(mixer, nullptr);
    IParameter* level = mixer->CreateParameter(Level);
    IParameter* mixLevel = mixer->CreateParameter(MixLevel);
    IParameter* fxType = mixer->CreateParameter(FxType);
    LogCapture log;
    QString loadPath = path;
    mixer->LoadData(loadPath);
    EXPECT_TRUE(log.contains(QStringLiteral("###QORA: LoadData(%1)").arg(path)));
    EXPECT_EQ(mixer->GetValue(mixLevel, 47, 0), 48);
    EXPECT_EQ(mixer->GetTitle(250), "Opening");
    EXPECT_EQ(mixer->GetComment(250), "Act 1");

    mixer->SetCurrentSceneMemory(250);
    for (int ch = 0; ch < 120; ++ch)
        EXPECT_EQ(mixer->GetValue(level, ch, 0), -100 * ch) << ch;
    EXPECT_EQ(mixer->GetValue(fxType, 0, 0), 11);
    QStringList names;
    mixer->GetNameParameterList(0, names);
    EXPECT_EQ(names, inputNames);
    QStringList fxNames;
    mixer->GetNameParameterList(6, fxNames);
    ASSERT_EQ(fxNames.size(), 17);
    EXPECT_EQ(fxNames[1], "Lush");

    for (IParameter* p : {level, mixLevel, fxType})
        p->Destroy();
    EXPECT_TRUE(harness.destroy(mixer));
    QFile::remove(path);
}

TEST(EditorFiles, PathsGoToTheEditorUnchanged)
{
    EditorHarness harness;
    IMixer* mixer = harness.create();
    ASSERT_NE(mixer, nullptr);
    LogCapture log;

    // The initial load data lives under the host's directory.
    const QString descriptor = EditorHarness::workDir() + QStringLiteral("/KX9/Descriptor");
    const QString initial = descriptor + QStringLiteral("/initialLoadData.KX9F");
    QDir().mkpath(descriptor);
    QFile::remove(initial);
    ASSERT_TRUE(QFile::copy(QString::fromLocal8Bit(qgetenv("QORA_BIN_DIR")) +
                                QStringLiteral("/KX9/Descriptor/initialLoadData.KX9F"),
                            initial));
    int mark = harness.mark();
    mixer->PreConversionSetup();
    QList<QJsonObject> sent = harness.requestsSince(mark);
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(commandOf(sent[0]), "set_load");
    EXPECT_EQ(infoOf(sent[0]).value("path").toString(), initial);
    EXPECT_TRUE(log.contains(QStringLiteral("###QORA: LoadInitialLoadData() %1 file loaded.").arg(initial)));

    QFile::remove(initial);
    mixer->PreConversionSetup();
    EXPECT_TRUE(log.contains(QStringLiteral("###QORA: LoadInitialLoadData() %1 file load ERROR").arg(initial)));
    QDir(EditorHarness::workDir() + QStringLiteral("/KX9")).removeRecursively();

    // One "/" is always put between folder and file name.
    QString folder = EditorHarness::workDir() + QStringLiteral("/");
    QString name = QStringLiteral("slash.KX9F");
    mark = harness.mark();
    mixer->SaveData(folder, name);
    sent = harness.requestsSince(mark);
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(commandOf(sent[0]), "set_save");
    EXPECT_EQ(infoOf(sent[0]).value("path").toString(), folder + QStringLiteral("/slash.KX9F"));
    QFile::remove(EditorHarness::workDir() + QStringLiteral("/slash.KX9F"));

    QString missing = EditorHarness::workDir() + QStringLiteral("/missing.KX9F");
    mixer->LoadData(missing);
    EXPECT_TRUE(log.contains(QStringLiteral("###QORA: LoadData(%1) ERROR").arg(missing)));
    QString badFolder = QStringLiteral("/nonexistent-dir-for-qora");
    mixer->SaveData(badFolder, name);
    EXPECT_TRUE(log.contains(QStringLiteral("###QORA: SaveData(/nonexistent-dir-for-qora/slash.KX9F) ERROR")));

    EXPECT_TRUE(harness.destroy(mixer));
}
