// Many lives of the mixer against the editor program: plain create/destroy
// cycles return every file descriptor, thread and editor process, and an
// editor killed in the middle of a command never holds a host call past its
// limit, never blocks Destroy and never leaves a half-written file.
#include "EditorHarness.h"
#include "ProcessProbe.h"

#include "host/IMixer.h"
#include "host/IParameter.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <csignal>
#include <iostream>
#include <random>
#include <thread>

#include <signal.h>

namespace {

const char Level[] = "/Mixing/InputChannel/Fader/Level/MMS";
constexpr qint64 MarginMs = 1000;

class Cycles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("QORA_LINK_TIMINGS", "createPolls=200,createSleepMs=25,readyPolls=80,readySleepMs=25,"
                                     "destroyPolls=40,destroySleepMs=25,shortLimit=150,longLimit=200");
    }
    void TearDown() override { qunsetenv("QORA_LINK_TIMINGS"); }
};

TEST_F(Cycles, HundredCreateDestroyCyclesReturnEverything)
{
    EditorHarness harness;
    // Warm-up: what Qt keeps for the process is started by the first mixer.
    ASSERT_TRUE(harness.destroy(harness.create()));
    const ProcessProbe::Snapshot baseline = ProcessProbe::settleTo(ProcessProbe::snapshot(), 300);
    ASSERT_EQ(baseline.editors, 0);

    QElapsedTimer timer;
    timer.start();
    int worstFds = 0, worstThreads = 0;
    for (int cycle = 0; cycle < 100; ++cycle) {
        IMixer* mixer = harness.create();
        ASSERT_NE(mixer, nullptr);
        ASSERT_EQ(ProcessProbe::editorPids().size(), 1) << "cycle " << cycle;
        ASSERT_TRUE(harness.destroy(mixer)) << "editor left running after cycle " << cycle;
        const ProcessProbe::Snapshot now = ProcessProbe::settleTo(baseline, 2000);
        worstFds = qMax(worstFds, now.fds - baseline.fds);
        worstThreads = qMax(worstThreads, now.threads - baseline.threads);
        ASSERT_LE(now.fds, baseline.fds) << "cycle " << cycle;
        ASSERT_LE(now.threads, baseline.threads) << "cycle " << cycle;
    }
    std::cout << "100 create/destroy cycles in " << timer.elapsed() << " ms; baseline " << baseline.fds
              << " fds, " << baseline.threads << " threads" << std::endl;
    EXPECT_EQ(worstFds, 0);
    EXPECT_EQ(worstThreads, 0);
}

bool wholeOrAbsent(const QString& path)
{
    const QStringList names = QFileInfo(path).absoluteDir().entryList(QDir::Files);
    for (const QString& name : names) {
        if (name != QFileInfo(path).fileName())
            return false;
    }
    QFile file(path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return QJsonDocument::fromJson(file.readAll()).object().value("format").toString() == "KX9F";
}

TEST_F(Cycles, EditorKilledInTheMiddleOfACommandHundredTimes)
{
    constexpr qint64 ShortLimitMs = 150, LongLimitMs = 200;
    constexpr qint64 DestroyLimitMs = LongLimitMs + 40 * 25;
    // Answers come 50 ms late, so a kill 5 to 60 ms after the call mostly
    // lands while the command is in flight.
    EditorHarness harness(EditorHarness::realEditor(), "--delay-ms=50");
    ASSERT_TRUE(harness.destroy(harness.create()));
    const ProcessProbe::Snapshot baseline = ProcessProbe::settleTo(ProcessProbe::snapshot(), 300);

    std::mt19937 random(99u);
    std::uniform_int_distribution<int> killAfter(5, 60);
    qint64 worstCall = 0, worstDestroy = 0;
    int halfWritten = 0, saved = 0;
    for (int round = 0; round < 100; ++round) {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        IMixer* mixer = harness.create();
        ASSERT_NE(mixer, nullptr);
        IParameter* level = mixer->CreateParameter(Level);
        const QList<qint64> pids = ProcessProbe::editorPids();
        ASSERT_EQ(pids.size(), 1) << "round " << round;

        const int delay = killAfter(random);
        std::thread killer([pid = pids.first(), delay] {
            std::this_thread::sleep_for(std::chrono::milliseconds(delay));
            ::kill(static_cast<pid_t>(pid), SIGKILL);
        });
        QElapsedTimer timer;
        timer.start();
        qint64 limit = ShortLimitMs;
        QString folder = dir.path(), name = QStringLiteral("show.KX9F");
        switch (round % 3) {
        case 0:
            mixer->GetValue(level, round % 120, 0);
            break;
        case 1:
            limit = LongLimitMs;
            mixer->SaveData(folder, name);
            break;
        default:
            mixer->GetTitle(100 + round);
            break;
        }
        const qint64 call = timer.elapsed();
        killer.join();
        // A second call after the kill falls back within its limit too.
        timer.restart();
        EXPECT_EQ(mixer->GetValue(level, (round + 7) % 120, 0), 0) << "round " << round;
        const qint64 after = timer.elapsed();
        worstCall = qMax(worstCall, qMax(call - limit, after - ShortLimitMs));
        EXPECT_LE(call, limit + MarginMs) << "round " << round;
        EXPECT_LE(after, ShortLimitMs + MarginMs) << "round " << round;

        level->Destroy();
        timer.restart();
        ASSERT_TRUE(harness.destroy(mixer)) << "round " << round;
        worstDestroy = qMax(worstDestroy, timer.elapsed());
        EXPECT_LE(timer.elapsed(), DestroyLimitMs + MarginMs) << "round " << round;

        const QString path = folder + "/" + name;
        if (!wholeOrAbsent(path))
            ++halfWritten;
        if (QFile::exists(path))
            ++saved;
    }
    const ProcessProbe::Snapshot now = ProcessProbe::settleTo(baseline);
    EXPECT_EQ(now.editors, 0);
    EXPECT_LE(now.fds, baseline.fds);
    EXPECT_LE(now.threads, baseline.threads);
    EXPECT_EQ(halfWritten, 0);
    std::cout << "100 kills: worst call over its limit " << worstCall << " ms, worst Destroy " << worstDestroy
              << " ms, saves completed before the kill " << saved << " of 33" << std::endl;
}

} // namespace
