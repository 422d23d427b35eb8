// Many lives of the mixer against the editor program: plain create/destroy
// cycles return every file descriptor, thread and editor process, and an
// editor killed in the middle of a command never holds a host call past its
// limit, never blocks Destroy and never leaves a half-written file.
#include "EditorHarness.h"
#include "ProcessProbe.h"

#include "host/IMixer.h"
#include "host/IParameter.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <random>
#include <thread>

#include <signal.h>

namespace {

constexpr qint64 ShortLimitMs = 150, LongLimitMs = 200, DestroyLimitMs = LongLimitMs + 40 * 25, MarginMs = 1000;

class Cycles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("QORA_LINK_TIMINGS", "createPolls=200,createSleepMs=25,readyPolls=80,readySleepMs=25,"
                                     "destroyPolls=40,destroySleepMs=25,shortLimit=150,longLimit=200");
    }
    void TearDown() override { qunsetenv("QORA_LINK_TIMINGS"); }

    // Warm-up: what Qt keeps for the process is started by the first mixer.
    ProcessProbe::Snapshot warmUp(EditorHarness& harness)
    {
        EXPECT_TRUE(harness.destroy(harness.create()));
        return ProcessProbe::settleTo(ProcessProbe::snapshot(), 300);
    }
};

TEST_F(Cycles, HundredCreateDestroyCyclesReturnEverything)
{
    EditorHarness harness;
    const ProcessProbe::Snapshot baseline = warmUp(harness);
    ASSERT_EQ(baseline.editors, 0);
    for (int cycle = 0; cycle < 100; ++cycle) {
        IMixer* mixer = harness.create();
        ASSERT_NE(mixer, nullptr);
        ASSERT_EQ(ProcessProbe::editorPids().size(), 1) << "cycle " << cycle;
        ASSERT_TRUE(harness.destroy(mixer)) << "editor left running after cycle " << cycle;
        const ProcessProbe::Snapshot now = ProcessProbe::settleTo(baseline, 2000);
        ASSERT_LE(now.fds, baseline.fds) << "cycle " << cycle;
        ASSERT_LE(now.threads, baseline.threads) << "cycle " << cycle;
    }
}

TEST_F(Cycles, EditorKilledInTheMiddleOfACommandHundredTimes)
{
    // Answers come 50 ms late, so a kill 5 to 60 ms after the call mostly
    // lands while the command is in flight.
    EditorHarness harness(EditorHarness::realEditor(), "--delay-ms=50");
    const ProcessProbe::Snapshot baseline = warmUp(harness);
    std::mt19937 random(99u);
    std::uniform_int_distribution<int> killAfter(5, 60);
    for (int round = 0; round < 100; ++round) {
        SCOPED_TRACE(round);
        QTemporaryDir dir;
        IMixer* mixer = harness.create();
        ASSERT_NE(mixer, nullptr);
        IParameter* level = mixer->CreateParameter("/Mixing/InputChannel/Fader/Level/MMS");
        const QList<qint64> pids = ProcessProbe::editorPids();
        ASSERT_EQ(pids.size(), 1);

        std::thread killer([pid = pids.first(), delay = killAfter(random)] {
            std::this_thread::sleep_for(std::chrono::milliseconds(delay));
            ::kill(static_cast<pid_t>(pid), SIGKILL);
        });
        QElapsedTimer timer;
        timer.start();
        QString folder = dir.path(), name = QStringLiteral("show.KX9F");
        if (round % 3 == 0)
            mixer->GetValue(level, round % 120, 0);
        else if (round % 3 == 1)
            mixer->SaveData(folder, name);
        else
            mixer->GetTitle(100 + round);
        EXPECT_LE(timer.elapsed(), (round % 3 == 1 ? LongLimitMs : ShortLimitMs) + MarginMs);
        killer.join();
        // A second call after the kill falls back within its limit too.
        timer.restart();
        EXPECT_EQ(mixer->GetValue(level, (round + 7) % 120, 0), 0);
        EXPECT_LE(timer.elapsed(), ShortLimitMs + MarginMs);

        level->Destroy();
        timer.restart();
        ASSERT_TRUE(harness.destroy(mixer));
        EXPECT_LE(timer.elapsed(), DestroyLimitMs + MarginMs);
        EXPECT_TRUE(ProcessProbe::wholeOrAbsent(folder + "/" + name));
    }
    const ProcessProbe::Snapshot now = ProcessProbe::settleTo(baseline);
    EXPECT_EQ(now.editors, 0);
    EXPECT_LE(now.fds, baseline.fds);
    EXPECT_LE(now.threads, baseline.threads);
}

} // namespace
