// Every fault an editor may show, against the plug-in through IMixer: each
// host call returns within its limit plus a margin with its fall-back,
// Destroy completes, nothing is left behind, and no saved file is half
// written. Limits are shrunk through QORA_LINK_TIMINGS.
#include "EditorHarness.h"
#include "ProcessProbe.h"

#include "host/ConverterException.h"
#include "host/IMixer.h"
#include "host/IParameter.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <functional>
#include <memory>

namespace {

// The start-up waits end as soon as the editor is there; they are long enough
// for an editor built with sanitizers, so that the window command is always
// the editor's first request.
const char Timings[] = "createPolls=200,createSleepMs=25,readyPolls=40,readySleepMs=50,"
                       "destroyPolls=20,destroySleepMs=25,shortLimit=300,longLimit=600";
constexpr qint64 ShortLimitMs = 300, LongLimitMs = 600;
constexpr qint64 CreateLimitMs = 200 * 25 + 40 * 50 + LongLimitMs;
constexpr qint64 DestroyLimitMs = LongLimitMs + 20 * 25;
constexpr qint64 MarginMs = 1000;

const char Level[] = "/Mixing/InputChannel/Fader/Level/MMS";

QString faultPeer() { return QStringLiteral(QORA_FAULT_PEER); }

// An "editor" that exits at once without ever connecting.
QString silentEditor(const QString& dir)
{
    const QString path = dir + QStringLiteral("/silent-editor.sh");
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write("#!/bin/sh\nexit 0\n");
        file.close();
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    }
    return path;
}

// Runs `call` and fails the test when it takes longer than `limitMs` + margin.
void within(qint64 limitMs, const char* what, const std::function<void()>& call)
{
    QElapsedTimer timer;
    timer.start();
    call();
    EXPECT_LE(timer.elapsed(), limitMs + MarginMs) << what;
}

// A saved file is either absent or whole: a console file that parses.
void expectWholeOrAbsent(const QString& path)
{
    QDir dir = QFileInfo(path).absoluteDir();
    for (const QString& name : dir.entryList(QDir::Files)) {
        EXPECT_TRUE(name == QFileInfo(path).fileName()) << "stray file " << name.toStdString();
    }
    QFile file(path);
    if (!file.exists())
        return;
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    EXPECT_EQ(root.value("format").toString(), "KX9F") << "half-written " << path.toStdString();
    EXPECT_TRUE(root.value("current").isObject());
}

class FaultSuite : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        // The first mixer starts what Qt keeps for the whole process; the
        // baseline is taken after it is gone.
        qputenv("QORA_LINK_TIMINGS", Timings);
        {
            EditorHarness harness;
            IMixer* mixer = harness.create();
            harness.destroy(mixer);
        }
        baseline = ProcessProbe::settleTo(ProcessProbe::snapshot(), 300);
    }
    static void TearDownTestSuite() { qunsetenv("QORA_LINK_TIMINGS"); }

    void SetUp() override
    {
        ASSERT_TRUE(saveDir.isValid());
        qputenv("QORA_LINK_TIMINGS", Timings);
    }
    void TearDown() override { qunsetenv("QORA_FAULT_PEER"); }

    void start(const QString& editor, const QString& options = QString())
    {
        harness = std::make_unique<EditorHarness>(editor, options);
        within(CreateLimitMs, "create", [&] { mixer = harness->create(); });
        ASSERT_NE(mixer, nullptr);
        level = mixer->CreateParameter(Level);
        ASSERT_NE(level, nullptr);
    }

    // Destroy within its limit, then nothing of ours is left.
    void finish()
    {
        level->Destroy();
        within(DestroyLimitMs, "Destroy", [&] { mixer->Destroy(); });
        mixer = nullptr;
        const ProcessProbe::Snapshot after = ProcessProbe::settleTo(baseline);
        EXPECT_EQ(after.editors, 0);
        EXPECT_LE(after.fds, baseline.fds);
        EXPECT_LE(after.threads, baseline.threads);
        harness.reset();
    }

    int readLevel(int channel)
    {
        int value = -1;
        within(ShortLimitMs, "GetValue", [&] { value = mixer->GetValue(level, channel, 0); });
        return value;
    }

    std::string title(int scene)
    {
        std::string text = "unset";
        within(ShortLimitMs, "GetTitle", [&] { text = mixer->GetTitle(scene); });
        return text;
    }

    QString save()
    {
        QString folder = saveDir.path();
        QString name = QStringLiteral("show.KX9F");
        within(LongLimitMs, "SaveData", [&] { mixer->SaveData(folder, name); });
        return folder + "/" + name;
    }

    static ProcessProbe::Snapshot baseline;
    QTemporaryDir saveDir;
    std::unique_ptr<EditorHarness> harness;
    IMixer* mixer = nullptr;
    IParameter* level = nullptr;
};

ProcessProbe::Snapshot FaultSuite::baseline;

TEST_F(FaultSuite, EditorNeverConnects)
{
    QTemporaryDir scripts;
    start(silentEditor(scripts.path()));
    LogCapture log;
    EXPECT_EQ(readLevel(3), 0);
    EXPECT_EQ(title(100), "");
    const QString path = save();
    EXPECT_TRUE(log.contains(QStringLiteral("###QORA: SaveData(%1) ERROR").arg(path)));
    EXPECT_FALSE(QFile::exists(path));
    finish();
}

TEST_F(FaultSuite, ConnectsButNeverAnnounces)
{
    start(EditorHarness::realEditor(), "--no-announce");
    LogCapture log;
    EXPECT_EQ(readLevel(3), 0);
    EXPECT_TRUE(log.contains("###QORA: GetMMSValue[/Mixing/InputChannel:3/Fader/Level] ERROR")
                || log.lines().filter("GetMMSValue[").filter("ERROR").size() == 1);
    const QString path = save();
    EXPECT_FALSE(QFile::exists(path));
    finish();
}

TEST_F(FaultSuite, ConnectsButNeverReportsReady)
{
    start(EditorHarness::realEditor(), "--no-ready");
    LogCapture log;
    // The editor still answers once the ready wait has run out.
    const QString path = save();
    EXPECT_TRUE(log.contains(QStringLiteral("###QORA: SaveData(%1)").arg(path)));
    EXPECT_TRUE(QFile::exists(path));
    expectWholeOrAbsent(path);
    finish();
}

TEST_F(FaultSuite, ClosesBetweenProgressAndFinalReply)
{
    qputenv("QORA_FAULT_PEER", "progress-close");
    start(faultPeer());
    LogCapture log;
    const QString path = save();
    EXPECT_TRUE(log.contains(QStringLiteral("###QORA: SaveData(%1) ERROR").arg(path)));
    expectWholeOrAbsent(path);
    EXPECT_EQ(readLevel(3), 0);
    finish();
}

TEST_F(FaultSuite, AnswersWithMalformedLines)
{
    qputenv("QORA_FAULT_PEER", "malformed");
    start(faultPeer());
    LogCapture log;
    EXPECT_EQ(readLevel(3), 0);
    EXPECT_EQ(readLevel(100), 0);
    EXPECT_EQ(title(100), "");
    const QString path = save();
    EXPECT_TRUE(log.contains(QStringLiteral("###QORA: SaveData(%1) ERROR").arg(path)));
    EXPECT_EQ(log.lines().filter("###QORA: GetMMSValue[").filter("] ERROR").size(), 2);
    finish();
}

TEST_F(FaultSuite, ValueTypeCodeOutsideTheTable)
{
    start(EditorHarness::realEditor(), "--force-type=3:Fader --force-type=512:Label");
    within(ShortLimitMs, "GetValue", [&] {
        try {
            mixer->GetValue(level, 3, 0);
            ADD_FAILURE() << "no exception";
        } catch (ConverterException* e) {
            std::unique_ptr<ConverterException> owned(e);
            EXPECT_STREQ(e->what(), "convertQVariantToOVariant: Unsupported type.");
        }
    });
    // The link is still in service afterwards.
    const QString path = save();
    EXPECT_TRUE(QFile::exists(path));
    expectWholeOrAbsent(path);
    finish();
}

TEST_F(FaultSuite, AnswersAfterTheTimeOut)
{
    // Each answer comes 450 ms late: past the 300 ms limit, and so within the
    // next command's wait, which it ends (replies are not matched to requests).
    start(EditorHarness::realEditor(), "--delay-ms=450");
    LogCapture log;
    EXPECT_EQ(title(100), "");
    readLevel(3);   // may be ended by the late scene-information reply
    readLevel(3);
    const QString path = save();
    expectWholeOrAbsent(path);
    finish();
}

TEST_F(FaultSuite, RepliesOneByteAtATime)
{
    // Limits long enough for a block reply written byte by byte: every call works.
    qputenv("QORA_LINK_TIMINGS", "createPolls=200,createSleepMs=25,readyPolls=40,readySleepMs=50,"
                                 "destroyPolls=20,destroySleepMs=25,shortLimit=12000,longLimit=12000");
    start(EditorHarness::realEditor(), "--byte-by-byte");
    LogCapture log;
    mixer->GetValue(level, 3, 0);
    EXPECT_EQ(log.lines().filter("###QORA: GetMMSValue[").filter("] ERROR").size(), 0);
    EXPECT_EQ(log.lines().filter("###QORA: GetMMSValue[").filter("] -> ").size(), 1);
    const QString path = save();
    EXPECT_TRUE(log.contains(QStringLiteral("###QORA: SaveData(%1)").arg(path)));
    expectWholeOrAbsent(path);
    finish();
}

TEST_F(FaultSuite, RefusesEveryWriteDuringTheDefaultValueSequences)
{
    start(EditorHarness::realEditor(), "--ng-match=set_prm_val --ng-match=setData_prm_val");
    LogCapture log;
    // The second reset writes the default values; every write is refused.
    mixer->ResetMixerMemory(nullptr);
    QElapsedTimer timer;
    timer.start();
    mixer->ResetMixerMemory(nullptr);
    const int writes = log.lines().filter("###QORA: SetMMSValue[").filter("] ERROR").size();
    EXPECT_GT(writes, 1000);
    // Every refused write is one round trip, none of them waits out its limit.
    EXPECT_LE(timer.elapsed(), LongLimitMs + writes * 50 + MarginMs);
    const QString path = save();
    EXPECT_TRUE(QFile::exists(path));
    finish();
}

} // namespace
