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

#include <QElapsedTimer>
#include <QFile>
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

// Runs `call` and fails the test when it takes longer than `limitMs` + margin.
void within(qint64 limitMs, const char* what, const std::function<void()>& call)
{
    QElapsedTimer timer;
    timer.start();
    call();
    EXPECT_LE(timer.elapsed(), limitMs + MarginMs) << what;
}

class FaultSuite : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("QORA_LINK_TIMINGS", Timings);
        // The first mixer starts what Qt keeps for the whole process; the
        // baseline is taken after it is gone.
        static const ProcessProbe::Snapshot first = [] {
            EditorHarness harness;
            harness.destroy(harness.create());
            return ProcessProbe::settleTo(ProcessProbe::snapshot(), 300);
        }();
        baseline = first;
    }
    void TearDown() override
    {
        qunsetenv("QORA_FAULT_PEER");
        qunsetenv("QORA_LINK_TIMINGS");
    }

    // The real editor with `options`, the fault peer in `peerMode`, or `program`.
    void start(const QString& options, const char* peerMode = nullptr, const QString& program = EditorHarness::realEditor())
    {
        if (peerMode)
            qputenv("QORA_FAULT_PEER", peerMode);
        harness = std::make_unique<EditorHarness>(peerMode ? QStringLiteral(QORA_FAULT_PEER) : program, options);
        within(CreateLimitMs, "create", [&] { mixer = harness->create(); });
        ASSERT_NE(mixer, nullptr);
        level = mixer->CreateParameter("/Mixing/InputChannel/Fader/Level/MMS");
        ASSERT_NE(level, nullptr);
        log.clear();
    }

    // Destroy within its limit, then nothing of ours is left.
    void finish()
    {
        level->Destroy();
        within(DestroyLimitMs, "Destroy", [&] { mixer->Destroy(); });
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

    std::string title()
    {
        std::string text = "unset";
        within(ShortLimitMs, "GetTitle", [&] { text = mixer->GetTitle(100); });
        return text;
    }

    // Saves within the limit; the file is whole or absent, and the log says
    // whether the save failed.
    QString save()
    {
        QString folder = saveDir.path(), name = QStringLiteral("show.KX9F");
        within(LongLimitMs, "SaveData", [&] { mixer->SaveData(folder, name); });
        const QString path = folder + "/" + name;
        EXPECT_TRUE(ProcessProbe::wholeOrAbsent(path)) << "half-written " << path.toStdString();
        return path;
    }
    bool saveFailed(const QString& path) const { return log.contains(QStringLiteral("###QORA: SaveData(%1) ERROR").arg(path)); }
    int valueLines(const char* marker) const { return log.lines().filter("###QORA: GetMMSValue[").filter(marker).size(); }

    ProcessProbe::Snapshot baseline;
    QTemporaryDir saveDir;
    LogCapture log;
    std::unique_ptr<EditorHarness> harness;
    IMixer* mixer = nullptr;
    IParameter* level = nullptr;
};

TEST_F(FaultSuite, EditorNeverConnects)
{
    start(QString(), nullptr, "/bin/true");   // exits at once
    EXPECT_EQ(readLevel(3), 0);
    EXPECT_EQ(title(), "");
    const QString path = save();
    EXPECT_TRUE(saveFailed(path));
    EXPECT_FALSE(QFile::exists(path));
    finish();
}

TEST_F(FaultSuite, ConnectsButNeverAnnounces)
{
    start("--no-announce");
    EXPECT_EQ(readLevel(3), 0);
    EXPECT_EQ(valueLines("ERROR"), 1);
    EXPECT_FALSE(QFile::exists(save()));
    finish();
}

TEST_F(FaultSuite, ConnectsButNeverReportsReady)
{
    start("--no-ready");
    // The editor still answers once the ready wait has run out.
    const QString path = save();
    EXPECT_FALSE(saveFailed(path));
    EXPECT_TRUE(QFile::exists(path));
    finish();
}

TEST_F(FaultSuite, ClosesBetweenProgressAndFinalReply)
{
    start(QString(), "progress-close");
    EXPECT_TRUE(saveFailed(save()));
    EXPECT_EQ(readLevel(3), 0);
    finish();
}

TEST_F(FaultSuite, AnswersWithMalformedLines)
{
    start(QString(), "malformed");
    EXPECT_EQ(readLevel(3), 0);
    EXPECT_EQ(readLevel(100), 0);
    EXPECT_EQ(title(), "");
    EXPECT_TRUE(saveFailed(save()));
    EXPECT_EQ(valueLines("] ERROR"), 2);
    finish();
}

TEST_F(FaultSuite, ValueTypeCodeOutsideTheTable)
{
    start("--force-type=3:Fader --force-type=512:Label");
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
    EXPECT_TRUE(QFile::exists(save()));
    finish();
}

TEST_F(FaultSuite, AnswersAfterTheTimeOut)
{
    // Each answer comes 450 ms late: past the 300 ms limit, and so within the
    // next command's wait, which it ends (replies are not matched to requests).
    start("--delay-ms=450");
    EXPECT_EQ(title(), "");
    readLevel(3);   // may be ended by the late scene-information reply
    readLevel(3);
    save();
    finish();
}

TEST_F(FaultSuite, RepliesOneByteAtATime)
{
    // Limits long enough for a block reply written byte by byte: every call works.
    qputenv("QORA_LINK_TIMINGS", QByteArray(Timings) + ",shortLimit=12000,longLimit=12000");
    start("--byte-by-byte");
    mixer->GetValue(level, 3, 0);
    EXPECT_EQ(valueLines("] ERROR"), 0);
    EXPECT_EQ(valueLines("] -> "), 1);
    const QString path = save();
    EXPECT_TRUE(log.contains(QStringLiteral("###QORA: SaveData(%1)").arg(path)));
    finish();
}

} // namespace
