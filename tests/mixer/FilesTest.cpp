// File paths, the initial load data and memory resets through the plug-in's
// IMixer, against the editor program. A file saved and loaded again is
// checked end to end (tests/plaxbridge).
#include "EditorHarness.h"

#include "host/IMixer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>

using EditorFiles = SharedEditor;

// The first reset of a mixer is skipped: this test needs a new one.
TEST_F(EditorFiles, FirstResetIsSkippedLaterResetsWriteTheDefaults)
{
    restart();
    LogCapture log;
    Conversion foreign("RQ10F");
    int mark = harness().mark();
    mixer->ResetMixerMemory(&foreign);
    QList<QJsonObject> sent = harness().requestsSince(mark);
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(addressOf(sent[0]), "/Setup/RackAllocation:0/RecallSafe:0/On:0");
    EXPECT_EQ(infoOf(sent[0]).value("prmValue").toInt(-1), 0);

    // A longer file type is another model's: no pause.
    Conversion longerTag("KX9FX");
    mark = harness().mark();
    QElapsedTimer timer;
    timer.start();
    mixer->ResetMixerMemory(&longerTag);
    const qint64 unpaused = timer.elapsed();
    sent = harness().requestsSince(mark);
    EXPECT_TRUE(log.contains("###QORA: Initialize Current Memories"));
    ASSERT_EQ(sent.size(), 1 + 16 * 70 + 2 + 32 * 5 + 1);
    EXPECT_EQ(commandOf(sent[0]), "set_init_current");
    EXPECT_EQ(addressOf(sent[1]), "/FX/FX:0/Param:0/PluginName:0");
    EXPECT_EQ(infoOf(sent[1]).value("prmValue").toString("x"), "");
    EXPECT_EQ(addressOf(sent[1120]), "/Mixing/EffectRack:0/Slot:15/OutputPort:0/Patch:0/Source:0");
    // The input patches: every channel, sent as soon as channel 119 comes.
    const QList<QJsonObject> patches = listOf(sent[1121]) + listOf(sent[1122]);
    ASSERT_EQ(patches.size(), 240);
    EXPECT_EQ(patches[239].value("prmAddr").toString(), "/Mixing/InputChannel:119/InPatch:0/Bank:1/Source:0");
    EXPECT_EQ(addressOf(sent[1125]), "/Mixing/GEQRack2:0/Type:0");
    EXPECT_TRUE(infoOf(sent[1125]).value("prmValue").isString());
    EXPECT_EQ(addressOf(sent[1282]), "/Mixing/GEQRack2:31/AB:1/On:0");
    EXPECT_EQ(addressOf(sent.last()), "/Setup/RackAllocation:0/RecallSafe:0/On:0");

    // A source of this same model pauses the reset for 3 s.
    Conversion own("KX9F");
    timer.restart();
    mixer->ResetMixerMemory(&own);
    const qint64 paused = timer.elapsed();
    timer.restart();
    mixer->ResetMixerMemory(nullptr);
    const qint64 unpausedAfter = timer.elapsed();
    EXPECT_GE(paused, 3000);
    // The faster of the two plain resets: a busy machine slows one of them now and then.
    EXPECT_GE(paused - std::min(unpaused, unpausedAfter), 2000)
        << "unpaused " << unpaused << " and " << unpausedAfter << " ms, paused " << paused << " ms";
}

TEST_F(EditorFiles, PathsGoToTheEditorUnchanged)
{
    LogCapture log;
    // The initial load data lives under the host's directory.
    const QString descriptor = EditorHarness::workDir() + QStringLiteral("/KX9/Descriptor");
    const QString initial = descriptor + QStringLiteral("/initialLoadData.KX9F");
    QDir().mkpath(descriptor);
    QFile::remove(initial);
    ASSERT_TRUE(QFile::copy(QString::fromLocal8Bit(qgetenv("QORA_BIN_DIR")) +
                                QStringLiteral("/KX9/Descriptor/initialLoadData.KX9F"),
                            initial));
    mixer->PreConversionSetup();
    EXPECT_TRUE(log.contains(QStringLiteral("###QORA: LoadInitialLoadData() %1 file loaded.").arg(initial)));
    QDir(EditorHarness::workDir() + QStringLiteral("/KX9")).removeRecursively();
    mixer->PreConversionSetup();
    EXPECT_TRUE(log.contains(QStringLiteral("###QORA: LoadInitialLoadData() %1 file load ERROR").arg(initial)));

    // One "/" is always put between folder and file name.
    QString folder = EditorHarness::workDir() + QStringLiteral("/");
    QString name = QStringLiteral("slash.KX9F");
    const int mark = harness().mark();
    mixer->SaveData(folder, name);
    const QList<QJsonObject> sent = withCommand(harness().requestsSince(mark), "set_save");
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(infoOf(sent[0]).value("path").toString(), folder + QStringLiteral("/slash.KX9F"));
    QFile::remove(EditorHarness::workDir() + QStringLiteral("/slash.KX9F"));

    QString missing = EditorHarness::workDir() + QStringLiteral("/missing.KX9F");
    mixer->LoadData(missing);
    EXPECT_TRUE(log.contains(QStringLiteral("###QORA: LoadData(%1) ERROR").arg(missing)));
    QString badFolder = QStringLiteral("/nonexistent-dir-for-qora");
    mixer->SaveData(badFolder, name);
    EXPECT_TRUE(log.contains(QStringLiteral("###QORA: SaveData(/nonexistent-dir-for-qora/slash.KX9F) ERROR")));
}
