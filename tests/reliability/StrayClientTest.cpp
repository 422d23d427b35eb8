// Stray local clients that connect to the plug-in's port, say something and
// leave: start-up, the editor's service, Destroy and a whole conversion go on
// as without them, and the plug-in's process gets back what they cost.
#include "EditorHarness.h"
#include "PlaxbridgeProcess.h"
#include "ProcessProbe.h"

#include "host/IMixer.h"
#include "host/IParameter.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QUuid>

#include <algorithm>
#include <atomic>
#include <functional>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Stray i says nothing, garbage, a foreign announcement (the plug-in closes
// it) or an "ok" or "ng" reply and "MMS Readied" in the editor's name.
QByteArray strayWords(int i, const QByteArray& uid)
{
    const QByteArray forged = "{\"reply\":{\"from\":\"" + uid + "\",\"reqid\":\"{x}\",\"cmd\":\"get_prm_val\","
                              "\"result\":\"" + (i % 8 < 4 ? "ok" : "ng") + "\",\"cmdinfo\":{\"info\":{\"prmValue\":1}}}}\n"
                              "{\"notify\":{\"from\":\"" + uid + "\",\"cmd\":\"MMS Readied\",\"cmdinfo\":{}}}\n";
    switch (i % 4) {
    case 0: return QByteArray();
    case 1: return "garbage\n\x01\x02\xff\n{\"reply\":" + QByteArray(2000, 'x');
    case 2: return "{\"connected\":{\"from\":\"" + QUuid::createUuid().toByteArray() + "\"}}\n" + forged;
    default: return forged;
    }
}

int connectTo(quint16 port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0)
        return fd;
    ::close(fd);
    return -1;
}

// `count` strays, `batch` at a time with `pauseUs` between batches; returns
// how many got a connection.
int runStrays(quint16 port, int count, const std::function<QByteArray()>& uid, int batch, unsigned long pauseUs)
{
    for (int done = 0; done < count; done += batch) {
        std::vector<int> open;
        for (int i = done; i < std::min(count, done + batch); ++i) {
            const int fd = connectTo(port);
            if (fd < 0) {
                std::for_each(open.begin(), open.end(), ::close);
                return done + int(open.size());
            }
            const QByteArray words = strayWords(i, uid());
            ::send(fd, words.constData(), size_t(words.size()), MSG_NOSIGNAL);
            open.push_back(fd);
        }
        for (std::size_t k = 0; k < open.size(); ++k) {
            // Waiting for the refusal keeps strays from outrunning the accepts.
            pollfd refused{open[k], POLLIN, 0};
            if ((done + int(k)) % 4 == 2)
                ::poll(&refused, 1, 2000);
            ::close(open[k]);
        }
        QThread::usleep(pauseUs);
    }
    return count;
}

class StrayClientsAtStartUp : public ::testing::TestWithParam<const char*> {};

// After a clean start, nine starts with 100 strays spread over them and
// another one that leaves during Destroy: each start reaches the editor and
// serves it as the clean one did.
TEST_P(StrayClientsAtStartUp, HundredChangeNothingOfTheService)
{
    // A start that misses the editor waits out 5 s.
    qputenv("QORA_LINK_TIMINGS", QByteArray("createPolls=1000,createSleepMs=5,readyPolls=1000,readySleepMs=5,destroyPolls=20,"
                                            "destroySleepMs=25,shortLimit=300,longLimit=600,pollingWait=") + GetParam());
    QTemporaryDir saveDir;
    EditorHarness harness;
    ASSERT_TRUE(harness.destroy(harness.create()));
    int firstValue = 0;
    for (int round = 0; round < 10; ++round) {
        SCOPED_TRACE(round);
        std::atomic<int> got{0};
        std::atomic<quint16> port{0};
        std::thread strays;
        if (round > 0) {
            strays = std::thread([&, home = QDir::currentPath().toStdString()] {
                // Nothing allocates here until the plug-in has forked to start
                // the editor (it changes the current directory for that): a
                // sanitizer lock this thread held at the fork would stay
                // locked in the child for good.
                char cwd[4096];
                QElapsedTimer timer;
                timer.start();
                for (bool away = false; timer.elapsed() < 10000; QThread::usleep(20)) {
                    const bool now = ::getcwd(cwd, sizeof cwd) && home != cwd;
                    if (away && !now)
                        break;
                    away = away || now;
                }
                port = ProcessProbe::listeningPort();
                QByteArray uid;
                got = runStrays(port, 100, [&] { return uid.isEmpty() ? uid = ProcessProbe::editorUidOnPort(port).toUtf8() : uid; }, 2, 1000);
            });
        }
        IMixer* mixer = harness.create();
        if (strays.joinable())
            strays.join();
        ASSERT_NE(mixer, nullptr);
        EXPECT_EQ(got, round > 0 ? 100 : 0);

        LogCapture log;
        IParameter* level = mixer->CreateParameter("/Mixing/InputChannel/Fader/Level/MMS");
        const int value = mixer->GetValue(level, 3, 0);
        firstValue = round == 0 ? value : firstValue;
        EXPECT_EQ(value, firstValue);
        QString folder = saveDir.path(), name = QStringLiteral("round%1.KX9F").arg(round);
        mixer->SaveData(folder, name);
        EXPECT_TRUE(QFile::exists(folder + "/" + name));
        level->Destroy();
        const int lingering = round > 0 ? connectTo(port) : -1;
        EXPECT_TRUE(lingering >= 0 || round == 0);
        std::thread leave([lingering] { ::close(lingering); });
        ASSERT_TRUE(harness.destroy(mixer));
        leave.join();
        EXPECT_TRUE(log.lines().filter(QRegularExpression("ERROR|QSocketNotifier")).isEmpty()) << log.lines().join('\n').toStdString();
    }
    qunsetenv("QORA_LINK_TIMINGS");
}

INSTANTIATE_TEST_SUITE_P(WaitModes, StrayClientsAtStartUp, ::testing::Values("0", "1"));

// A console file with its time stamps blanked.
QByteArray masked(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll()).replace(QRegularExpression("\"timeStamp\": \"\\d{14}\""), "\"timeStamp\": \"\"").toUtf8();
}

TEST(StrayFlood, FiveThousandDuringAConversionChangeNothing)
{
    QTemporaryDir dir;
    // Five scenes of the sample: the plug-in learns the memory's defaults
    // at the second scene, so the baseline is taken after it and three
    // scenes are left for the flood.
    const QString sample = dir.filePath("show.json");
    ASSERT_EQ(QProcess::execute("python3", {QORA_SOURCE_DIR "/tools/make_show.py", "--scenes", "5",
                                            QORA_SOURCE_DIR "/examples/rq10-festival.json", sample}),
              0);
    // Answers 40 ms late leave the flood room in scenes of some forty
    // commands; without the sanitizer's quarantine freed memory is taken
    // again at once.
    const QStringList environment{"QORA_EDITOR_OPTIONS=--delay-ms=40",
                                  "ASAN_OPTIONS=" + qEnvironmentVariable("ASAN_OPTIONS") + ":quarantine_size_mb=0"};
    const auto clean = PlaxbridgeProcess::run({"convert", sample, dir.filePath("clean.KX9F")});
    ASSERT_EQ(clean.exitCode, 0) << clean.err.toStdString();
    QProcess convert;
    PlaxbridgeProcess::start(convert, {"convert", sample, dir.filePath("flooded.KX9F")}, environment);
    const qint64 pid = convert.processId();
    quint16 port = 0;
    QByteArray uid, progressLines;
    QElapsedTimer timer;
    // The baseline once the second scene is stored: start-up and learning
    // are over.
    convert.setReadChannel(QProcess::StandardError);
    for (timer.start(); timer.elapsed() < 60000 && (uid.isEmpty() || !progressLines.contains("scene 2/5 stored as"));) {
        convert.waitForReadyRead(5);
        progressLines += convert.readAllStandardError();
        if (uid.isEmpty() && (port = ProcessProbe::listeningPort(pid)))
            uid = ProcessProbe::editorUidOnPort(port).toUtf8();
    }
    ASSERT_FALSE(uid.isEmpty());
    const qint64 rssBefore = ProcessProbe::residentKiB(pid);
    const int fdsBefore = ProcessProbe::openFileDescriptors(pid);

    const int got = runStrays(port, 5000, [&] { return uid; }, 20, 0);
    for (timer.restart(); timer.elapsed() < 3000 && ProcessProbe::openFileDescriptors(pid) > fdsBefore;)
        QThread::msleep(10);
    QThread::msleep(200);
    const qint64 rssAfter = ProcessProbe::residentKiB(pid);
    const int fdsAfter = ProcessProbe::openFileDescriptors(pid);
    const bool stillConverting = convert.state() == QProcess::Running && rssAfter > 0;
    const auto flooded = PlaxbridgeProcess::finish(convert, 600000);
    ASSERT_EQ(flooded.exitCode, 0) << flooded.err.toStdString();

    std::cout << "flood: plaxbridge before/after " << rssBefore << "/" << rssAfter << " KiB, " << fdsBefore << "/" << fdsAfter
              << " descriptors" << std::endl;
    EXPECT_EQ(got, 5000);
    ASSERT_TRUE(stillConverting) << "the conversion ended before the flood was over";
    EXPECT_LE(fdsAfter, fdsBefore);
    EXPECT_LE(rssAfter - rssBefore, 4096);
    const QByteArray expected = masked(dir.filePath("clean.KX9F"));
    EXPECT_FALSE(expected.isEmpty());
    EXPECT_TRUE(masked(dir.filePath("flooded.KX9F")) == expected) << "the console files differ";
}

} // namespace
