// The command layer on a real worker thread, driving a scripted editor that
// the launch found through KX9.ini.
#include "link/MainApplication.h"

#include "EditorScript.h"
#include "QtPrinters.h"
#include "ScriptedEditor.h"
#include "support/OVariant.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QUuid>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace {

// Launch failures ("title|text") and log lines ("type|message"), from any thread.
QMutex capturedMutex;
QStringList capturedLines;
void capture(const QString& line) { QMutexLocker locker(&capturedMutex); capturedLines << line; }
QStringList captured() { QMutexLocker locker(&capturedMutex); return capturedLines; }
void clearCaptured() { QMutexLocker locker(&capturedMutex); capturedLines.clear(); }
void captureLog(QtMsgType type, const QMessageLogContext&, const QString& text) { capture(QString("%1|%2").arg(int(type)).arg(text)); }

LinkTimings testTimings(const QByteArray& more = QByteArray())
{
    LinkTimings t;
    t.apply("createPolls=100,createSleepMs=50,readyPolls=10,readySleepMs=40,destroyPolls=40,destroySleepMs=50," + more);
    return t;
}

QString iniPath() { return QCoreApplication::applicationDirPath() + "/KX9.ini"; }
QString canonical(const QString& path) { return QFileInfo(path).canonicalFilePath(); }
QString cmdOf(const QJsonObject& request) { return request.value("cmd").toString(); }
QString compactCmdinfo(const QJsonObject& r) { return QJsonDocument(r.value("cmdinfo").toObject()).toJson(QJsonDocument::Compact); }

QStringList addressesOf(const QJsonObject& request)
{
    QStringList out;
    for (const QJsonValue& e : request.value("cmdinfo").toObject().value("list").toArray())
        out << e.toObject().value("prmAddr").toString();
    return out;
}

// Answers block reads with value = channel * 10 (at most `listLimit` of
// them), single reads with the text "GATE" and anything else "ok".
ScriptedEditor::Responder consoleResponder(ScriptedEditor* editor, int listLimit = -1)
{
    return [=](const QJsonObject& r) {
        static const QRegularExpression channel(":(\\d+)/");
        if (cmdOf(r) == "get_prm_val")
            return QList<QByteArray>{editor->reply(r, "ok", QJsonObject{{"info", QJsonObject{{"prmValue", "GATE"}, {"prmType", 64}}}})};
        QJsonArray out;
        for (const QString& address : addressesOf(r).mid(0, listLimit))
            out.append(QJsonObject{{"prmValue", channel.match(address).captured(1).toInt() * 10}, {"prmType", 4}});
        return QList<QByteArray>{editor->reply(r, "ok", QJsonObject{{"list", out}})};
    };
}

class CommandLayerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(QFileInfo::exists(iniPath())) << "stale KX9.ini next to the test program";
        clearCaptured();
        MainApplication::setLaunchFailureReporter([](const QString& title, const QString& text) { capture(title + "|" + text); });
    }

    void TearDown() override
    {
        shutdown();
        editor.reset();
        QFile::remove(iniPath());
        QDir::setCurrent(savedCwd);
        MainApplication::setLaunchFailureReporter(nullptr);
    }

    // The wire forms pinned here are the strict mode's; an empty mode is the
    // default (batched).
    void writeIni(const QString& value, const QString& wireMode = "strict", const QString& key = "VirtualDeviceFilePath")
    {
        QSettings settings(iniPath(), QSettings::IniFormat);
        settings.setValue("MainApplication/" + key, value);
        if (!wireMode.isEmpty())
            settings.setValue("MainApplication/WireMode", wireMode);
    }

    // What the mixer object does on creation, up to the launch.
    void construct(const LinkTimings& timings = testTimings())
    {
        app = std::make_unique<MainApplication>(timings);
        app->setEditorGoneHandler([this] { ++goneReports; });
        thread = std::make_unique<QThread>();
        app->moveToThread(thread.get());
        thread->start();
        ASSERT_TRUE(QMetaObject::invokeMethod(app.get(), "doCommandCreate"));
    }

    // Plays the editor program: picks up the command line, connects, announces.
    void attachEditor()
    {
        ASSERT_TRUE(spinUntil([&] { return !readEditorArgs(dir.path()).isEmpty(); }));
        args = readEditorArgs(dir.path());
        ASSERT_EQ(args.size(), 6) << args.join(' ').toStdString();
        ASSERT_TRUE(args.at(2).startsWith("uid=") && args.at(4).startsWith("port="));
        uid = args.at(2).mid(4);
        port = quint16(args.at(4).mid(5).toUInt());
        editor = std::make_unique<ScriptedEditor>();
        ASSERT_TRUE(editor->connectTo(port));
        editor->announce(uid);
        ASSERT_TRUE(app->waitForCommandCreated());
    }

    void startLinked(const LinkTimings& timings = testTimings(), const QString& wireMode = "strict")
    {
        writeIni(script, wireMode);
        construct(timings);
        attachEditor();
        editor->answerAll("ok");
    }

    // What the mixer object does in Destroy, after the window command; with
    // `command` false the objects go with the editor still connected.
    void shutdown(bool command = true)
    {
        if (app && command && QMetaObject::invokeMethod(app.get(), "doCommandDestroy"))
            app->waitForCommandDestroyed();
        if (thread)
            thread->quit(), thread->wait();
        app.reset();
        thread.reset();
    }

    // Requests seen by the editor after a short grace period for stragglers.
    QList<QJsonObject> settledRequests() { return QThread::msleep(50), editor->requests(); }

    // A read's integer value; -1 when it gave none.
    int readInt(const QString& address)
    {
        OVariant value(7);
        app->GetPrmVal(address, value);
        return value.isValid() ? value.toInt() : -1;
    }

    QTemporaryDir dir;
    QString savedCwd = QDir::currentPath(), script = writeEditorScript(dir.path()), uid;
    QStringList args;
    quint16 port = 0;
    std::unique_ptr<MainApplication> app;
    std::unique_ptr<QThread> thread;
    std::unique_ptr<ScriptedEditor> editor;
    std::atomic<int> goneReports{0};
};

// Launch and lifecycle

// A relative editor path resolves against the current directory (against
// KX9.ini's it names nothing); the editor runs in its own directory and the
// host's current directory is restored. Requests name the server and the
// editor, each with a fresh id.
TEST_F(CommandLayerTest, LaunchResolvesTheEditorAgainstTheCurrentDirectoryAndRestoresIt)
{
    QTemporaryDir elsewhere;
    ASSERT_TRUE(QDir::setCurrent(elsewhere.path()));
    writeIni(QDir::current().relativeFilePath(script));
    construct();
    attachEditor();
    EXPECT_TRUE(captured().isEmpty());
    EXPECT_EQ(canonical(QDir::currentPath()), canonical(elsewhere.path()));
    EXPECT_EQ(canonical(args.at(0)), canonical(dir.path()));
    EXPECT_EQ(args.at(3), "work=" + QCoreApplication::applicationDirPath());
    EXPECT_FALSE(QUuid(uid).isNull());

    editor->answerAll("ok");
    EXPECT_TRUE(app->SetInitCurrent());
    EXPECT_TRUE(app->SetInitCurrent());
    const QList<QJsonObject> r = settledRequests();
    ASSERT_EQ(r.size(), 2);
    const QString server = r[0].value("from").toString();
    EXPECT_FALSE(QUuid(server).isNull());
    EXPECT_NE(server, uid);
    EXPECT_EQ(r[1].value("from").toString(), server);
    EXPECT_EQ(r[0].value("to").toString(), uid);
    EXPECT_FALSE(QUuid(r[0].value("reqid").toString()).isNull());
    EXPECT_NE(r[0].value("reqid"), r[1].value("reqid"));
}

// A broken KX9.ini is reported (without a reporter, logged as critical) and
// starts nothing.
TEST_F(CommandLayerTest, LaunchFailuresAreReportedAndStartNothing)
{
    const char* const cases[][3] = {{nullptr, nullptr, "KX9.ini file not found."},
                                    {"Other", "x", "Wrong KX9.ini file."},
                                    {"VirtualDeviceFilePath", "", "Wrong KX9.ini file."},
                                    {"VirtualDeviceFilePath", "no-such-editor", "QORA Editor executable file not found."}};
    for (const auto& [key, value, text] : cases) {
        SCOPED_TRACE(text);
        shutdown();
        clearCaptured();
        QFile::remove(iniPath());
        if (key)
            writeIni(value, "strict", key);
        const QString cwd = QDir::currentPath();
        construct(testTimings("createPolls=5,createSleepMs=20"));
        ASSERT_TRUE(spinUntil([] { return !captured().isEmpty(); }));
        EXPECT_EQ(captured(), QStringList{QString("Plaxbridge (QORA Version)|") + text});
        EXPECT_FALSE(app->waitForCommandCreated());
        EXPECT_TRUE(app->commandDestroyed());
        EXPECT_EQ(QDir::currentPath(), cwd);
        QThread::msleep(100);
        EXPECT_TRUE(readEditorArgs(dir.path()).isEmpty());
    }
    shutdown();
    QFile::remove(iniPath());
    MainApplication::setLaunchFailureReporter(nullptr);
    const QtMessageHandler previous = qInstallMessageHandler(captureLog);
    construct();
    const QString line = QString("%1|Plaxbridge (QORA Version): KX9.ini file not found.").arg(int(QtCriticalMsg));
    EXPECT_TRUE(spinUntil([&] { return captured().contains(line); }));
    qInstallMessageHandler(previous);
}

// Entries outside the ranges, malformed or unknown leave the value as it was
// and are named, with the variable, in one warning.
TEST(LinkTimingsFromEnvironment, TakesSaneEntriesAndNamesTheOthersOnce)
{
    const QByteArray good = "shortLimit=10,longLimit=600000,createPolls=1,readyPolls=10000,destroySleepMs=1,"
                            "readySleepMs=10000,pollingWait=on,";
    const QByteArray bad = "shortLimit=9,longLimit=600001,createPolls=0,destroyPolls=10001,createSleepMs=-5,"
                           "readySleepMs=x,pollingWait=maybe,bogus=3,noequals";
    clearCaptured();
    const QtMessageHandler previous = qInstallMessageHandler(captureLog);
    qputenv("QORA_LINK_TIMINGS", good + bad);
    const LinkTimings t = LinkTimings::fromEnvironment();
    qputenv("QORA_LINK_TIMINGS", "shortLimit=200");
    const LinkTimings clean = LinkTimings::fromEnvironment();
    qunsetenv("QORA_LINK_TIMINGS");
    qInstallMessageHandler(previous);
    EXPECT_EQ((std::vector<int>{t.shortLimit, t.longLimit, t.createPolls, t.readyPolls, t.destroySleepMs,
                                t.readySleepMs, t.destroyPolls, t.createSleepMs, t.pollingWait, clean.shortLimit}),
              (std::vector<int>{10, 600000, 1, 10000, 1, 10000, 100, 100, true, 200}));
    EXPECT_EQ(captured(), QStringList{QString("%1|QORA_LINK_TIMINGS=\"%2\": ignored %3 (unknown, malformed or out of "
                                              "range; left as they were)").arg(int(QtWarningMsg)).arg(QString(good + bad), bad)});
}

// The ready wait waits for "MMS Readied" and ends with nothing else; the
// destroy wait ends with the editor's own close, not another client's.
TEST_F(CommandLayerTest, WaitsFollowTheEditorsLifecycle)
{
    startLinked();
    editor->notify("Something Else");
    EXPECT_FALSE(app->waitForMmsReadied());
    std::thread later([&] {
        QThread::msleep(100);
        editor->notify("MMS Readied");
    });
    EXPECT_TRUE(app->waitForMmsReadied());
    later.join();

    ScriptedEditor stray;
    ASSERT_TRUE(stray.connectTo(port));
    std::atomic<bool> editorClosed{false};
    std::thread closer([&] {
        stray.close();
        QThread::msleep(300);
        editorClosed = true;
        editor->close();
    });
    EXPECT_TRUE(app->waitForCommandDestroyed());
    EXPECT_TRUE(editorClosed);
    closer.join();
    EXPECT_FALSE(app->commandCreated());
    EXPECT_FALSE(app->mmsReadied());
}

// Through the destroy command, or by deleting the objects with the editor
// still connected.
TEST_F(CommandLayerTest, DestroyAndTeardownCloseTheConnection)
{
    for (bool command : {true, false}) {
        QFile::remove(dir.filePath("args.txt"));
        startLinked();
        shutdown(command);
        EXPECT_TRUE(spinUntil([&] { return !editor->isConnected(); })) << command;
    }
    EXPECT_EQ(goneReports, 0);
}

// The wire form of each command with a fixed payload, and its result

struct CommandCase {
    const char* name;
    std::function<bool(MainApplication&)> run;
    const char* cmd;
    const char* cmdinfo;   // compact JSON
    bool hasResult = true;
};

void PrintTo(const CommandCase& c, std::ostream* os) { *os << c.name; }

class CommandPayloadTest : public CommandLayerTest, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(CommandPayloadTest, SendsPayloadAndReportsResult)
{
    startLinked();
    EXPECT_TRUE(GetParam().run(*app));
    const QList<QJsonObject> requests = settledRequests();
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(cmdOf(requests[0]), GetParam().cmd);
    EXPECT_EQ(compactCmdinfo(requests[0]), GetParam().cmdinfo);
    editor->answerAll("ng");
    EXPECT_EQ(GetParam().run(*app), !GetParam().hasResult);
}

bool setValue(MainApplication& a, const char* address, const OVariant& value) { return a.SetPrmVal(address, value); }

INSTANTIATE_TEST_SUITE_P(
    All, CommandPayloadTest,
    ::testing::Values(
        CommandCase{"SceneInfoGet", [](MainApplication& a) { QString t; return a.GetSceneInfo("Title", "UserA", "1.00", t); },
                    "get_scene_info", R"({"info":{"prmSceneCategory":"UserA","prmSceneInfoType":"Title","prmSceneNumber":"1.00"}})"},
        CommandCase{"SceneInfoSet", [](MainApplication& a) { return a.SetSceneInfo("Title", "UserA", "1.00", "Intro"); },
                    "set_scene_info",
                    R"({"info":{"prmSceneCategory":"UserA","prmSceneInfoType":"Title","prmSceneNumber":"1.00","prmValue":"Intro"}})"},
        CommandCase{"Recall", [](MainApplication& a) { return a.SetSceneRecall("UserA", "2.50"); },
                    "set_scene_recall", R"({"info":{"prmSceneCategory":"UserA","prmSceneNumber":"2.50"}})"},
        CommandCase{"Store", [](MainApplication& a) { return a.SetSceneStore("UserA", "3.00", "T", "C"); },
                    "set_scene_store",
                    R"({"info":{"prmSceneCategory":"UserA","prmSceneComment":"C","prmSceneNumber":"3.00","prmSceneTitle":"T"}})"},
        CommandCase{"Load", [](MainApplication& a) { return a.SetLoad("/x/a.KX9F"); }, "set_load",
                    R"({"info":{"path":"/x/a.KX9F"}})"},
        CommandCase{"Save", [](MainApplication& a) { return a.SetSave("/x/b.KX9F"); }, "set_save",
                    R"({"info":{"path":"/x/b.KX9F"}})"},
        CommandCase{"InitCurrent", [](MainApplication& a) { return a.SetInitCurrent(); }, "set_init_current", "{}"},
        CommandCase{"WindowVisibility", [](MainApplication& a) { return a.SetWindowVisibility("Hidden"), true; },
                    "set_window_visibility", R"({"info":{"prmWindowVisibility":"Hidden"}})", false},
        CommandCase{"SingleWrite", [](MainApplication& a) { return setValue(a, "/Mixing/MuteGroup:3/Name/MMS", OVariant("Drums", 100)); },
                    "set_prm_val", R"({"info":{"prmAddr":"/Mixing/MuteGroup:3/Name/MMS","prmValue":"Drums"}})"},
        // A read block that is no write block, and a channel past a write block.
        CommandCase{"GeqWriteIsSingle", [](MainApplication& a) { return setValue(a, "/Mixing/GEQRack2:31/Band:0/Gain/MMS", OVariant(-6)); },
                    "set_prm_val", R"({"info":{"prmAddr":"/Mixing/GEQRack2:31/Band:0/Gain/MMS","prmValue":-6}})"},
        CommandCase{"ChannelBeyondBlockIsSingle", [](MainApplication& a) { return setValue(a, "/Mixing/Mix:48/Fader:0/Level/MMS", OVariant(1)); },
                    "set_prm_val", R"({"info":{"prmAddr":"/Mixing/Mix:48/Fader:0/Level/MMS","prmValue":1}})"}),
    [](const ::testing::TestParamInfo<CommandCase>& info) { return std::string(info.param.name); });

// Waiting, in both wait modes

class WaitModeTest : public CommandLayerTest, public ::testing::WithParamInterface<bool> {};

// Only a final answer ends a wait, and at once. A silent editor runs each
// command into its limit. Replies are not matched to requests: a late answer
// that comes between commands is cleared by the next one; one that comes
// during the next command's wait ends it.
TEST_P(WaitModeTest, OnlyAFinalAnswerEndsTheWait)
{
    startLinked(testTimings(QString("shortLimit=300,longLimit=20000,pollingWait=%1").arg(GetParam()).toLatin1()));
    editor->setResponder([peer = editor.get()](const QJsonObject& r) {
        peer->sendAfter(300, peer->reply(r, "ok", {}, "100"));
        return QList<QByteArray>{peer->reply(r, "progress", {}, "10"), peer->reply(r, "", {}, "60")};
    });
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(app->SetSave("/x.KX9F"));
    EXPECT_LT(clock.elapsed(), 10000);

    editor->setResponder(nullptr);
    QString text = "previous";
    clock.restart();
    EXPECT_FALSE(app->GetSceneInfo("Title", "UserA", "1.00", text));
    EXPECT_TRUE(text.isEmpty());
    EXPECT_FALSE(app->SetSceneInfo("Title", "UserA", "1.00", "x"));
    EXPECT_GE(clock.elapsed(), 600);
    EXPECT_LT(clock.elapsed(), 600 + 1000);

    const QJsonObject first = settledRequests().value(1);
    editor->sendRaw(editor->reply(first, "ok", infoText("late")) + "\n");
    QThread::msleep(150);
    editor->answerAll("ok", infoText("fresh"));
    EXPECT_TRUE(app->GetSceneInfo("Title", "UserA", "2.00", text));
    EXPECT_EQ(text, QString("fresh"));

    editor->setResponder([peer = editor.get(), first](const QJsonObject&) {
        return QList<QByteArray>{peer->reply(first, "ok", infoText("late"))};
    });
    EXPECT_TRUE(app->GetSceneInfo("Title", "UserA", "3.00", text));
    EXPECT_EQ(text, QString("late"));

    // The data of an "ng" answer is not trusted.
    editor->answerAll("ng", infoText("bad"));
    EXPECT_FALSE(app->GetSceneInfo("Title", "UserA", "1.00", text));
    EXPECT_TRUE(text.isEmpty());
}

// An editor that leaves ends the wait of the command in flight, fails every
// later command and wait without their limits, and is reported once.
TEST_P(WaitModeTest, AnEditorThatLeavesEndsEveryWaitAtOnce)
{
    startLinked(testTimings(QString("shortLimit=20000,longLimit=20000,readyPolls=200,readySleepMs=100,pollingWait=%1").arg(GetParam()).toLatin1()));
    editor->setResponder([](const QJsonObject&) { return QList<QByteArray>(); });
    EXPECT_FALSE(app->editorGone());
    std::thread closer([&] { QThread::msleep(100); editor->close(); });
    QElapsedTimer clock;
    clock.start();
    QString text = "previous";
    EXPECT_FALSE(app->GetSceneInfo("Title", "UserA", "1.00", text));
    closer.join();
    EXPECT_TRUE(text.isEmpty());
    EXPECT_TRUE(app->editorGone());
    EXPECT_FALSE(app->SetSave("/x.KX9F"));
    EXPECT_FALSE(app->waitForMmsReadied());
    EXPECT_TRUE(app->waitForCommandDestroyed());
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_EQ(goneReports, 1);
}

INSTANTIATE_TEST_SUITE_P(Modes, WaitModeTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return std::string(info.param ? "Polling" : "WakeOnAnswer"); });

// Strict mode: reads and writes

// A block is requested whole, once, whichever of its channels is read; some
// addresses are read singly every time.
TEST_F(CommandLayerTest, ReadsFetchBlocksWholeOnceAndSomeAddressesSingly)
{
    startLinked();
    editor->setResponder(consoleResponder(editor.get()));
    struct Read { const char* address; int size; int channel; int other; };   // size 0: read singly
    const Read reads[] = {{"/Mixing/InputChannel:%1/Fader:0/Level/MMS", 120, 119, 5},
                          {"/Mixing/Mix:%1/Fader:0/Level/MMS", 48, 47, 0},
                          {"/Mixing/Matrix:%1/Fader:0/Level/MMS", 12, 0, 11},
                          {"/Mixing/Stereo:%1/Fader:0/Level/MMS", 4, 3, 0},
                          {"/Mixing/DCA:%1/Fader:0/Level/MMS", 24, 7, 23},
                          {"/Mixing/GEQRack2:%1/Band:3/Gain/MMS", 32, 30, 31},
                          {"/FX/FX:%1/Param:2/MMS", 16, 15, 0},
                          {"/Mixing/InputChannel:%1/Dynamics:0/Type/MMS", 0, 3, 3},
                          {"/FX/FX:%1/PluginName/MMS", 0, 2, 2},
                          {"/Mixing/MuteGroup:%1/Name/MMS", 0, 4, 5}};
    for (const Read& read : reads) {
        SCOPED_TRACE(read.address);
        const int before = settledRequests().size();
        for (int channel : {read.channel, read.other}) {
            OVariant value;
            app->GetPrmVal(QString(read.address).arg(channel), value);
            EXPECT_EQ(read.size ? QString::number(value.toInt()) : value.toString(), read.size ? QString::number(channel * 10) : "GATE");
        }
        const QList<QJsonObject> requests = settledRequests().mid(before);
        if (!read.size) {
            ASSERT_EQ(requests.size(), 2);
            EXPECT_EQ(cmdOf(requests[1]), "get_prm_val");
            EXPECT_EQ(compactCmdinfo(requests[1]), QString(R"({"info":{"prmAddr":"%1"}})").arg(QString(read.address).arg(read.other)));
            continue;
        }
        ASSERT_EQ(requests.size(), 1);
        EXPECT_EQ(cmdOf(requests[0]), "getData_prm_val");
        QStringList expected;
        for (int i = 0; i < read.size; ++i)
            expected << QString(read.address).arg(i);
        EXPECT_EQ(addressesOf(requests[0]), expected);
    }
}

// One block is cached: writes and loads leave it, another parameter or a
// failed read replaces it; a short answer caches what came.
TEST_F(CommandLayerTest, OneBlockIsCachedUntilAnotherParameterIsRead)
{
    startLinked();
    editor->setResponder(consoleResponder(editor.get()));
    EXPECT_EQ(readInt("/Mixing/Stereo:2/Fader:0/Level/MMS"), 20);
    EXPECT_TRUE(app->SetPrmVal("/Mixing/Stereo:2/Fader:0/Level/MMS", OVariant(-100)));
    EXPECT_TRUE(app->SetLoad("/x/other.KX9F"));
    EXPECT_EQ(readInt("/Mixing/Stereo:2/Fader:0/Level/MMS"), 20);
    EXPECT_EQ(readInt("/Mixing/Stereo:1/Fader:0/On/MMS"), 10);
    EXPECT_EQ(readInt("/Mixing/Stereo:2/Fader:0/Level/MMS"), 20);
    EXPECT_EQ(settledRequests().size(), 4);

    editor->answerAll("ng");
    EXPECT_EQ(readInt("/Mixing/Matrix:3/Fader:0/Level/MMS"), -1);
    EXPECT_EQ(readInt("/Mixing/MuteGroup:0/Name/MMS"), -1);
    editor->setResponder(consoleResponder(editor.get(), 4));
    EXPECT_EQ(readInt("/Mixing/Matrix:3/Fader:0/Level/MMS"), 30);
    EXPECT_EQ(readInt("/Mixing/Matrix:2/Fader:0/Level/MMS"), 20);
    EXPECT_EQ(settledRequests().size(), 7);
    editor->answerAll("ng");
    EXPECT_EQ(readInt("/Mixing/Matrix:3/Fader:0/On/MMS"), -1);
    editor->setResponder(consoleResponder(editor.get(), 4));
    EXPECT_EQ(readInt("/Mixing/Matrix:2/Fader:0/Level/MMS"), 20);   // the failed read dropped the cached block
    EXPECT_EQ(readInt("/Mixing/Matrix:9/Fader:0/Level/MMS"), -1);   // beyond what came: asked for again
    EXPECT_EQ(settledRequests().size(), 10);
}

// Block writes wait, across blocks, until a write to some block's highest
// channel sends them in one list; values that are neither integers nor texts
// are refused and join nothing.
TEST_F(CommandLayerTest, BlockWritesWaitForAHighestChannel)
{
    startLinked();
    OVariant real, unsignedValue;
    real = 0.5f;
    unsignedValue = 5u;
    EXPECT_FALSE(app->SetPrmVal("/Mixing/MuteGroup:1/On/MMS", real));
    EXPECT_FALSE(app->SetPrmVal("/Mixing/Mix:47/Fader:0/Level/MMS", unsignedValue));
    EXPECT_FALSE(app->SetPrmVal("/Mixing/Mix:47/Fader:0/Level/MMS", OVariant()));
    EXPECT_TRUE(app->SetPrmVal("/Mixing/DCA:0/Name/MMS", OVariant("Vox", 10)));
    QStringList values{R"({"prmAddr":"/Mixing/DCA:0/Name/MMS","prmValue":"Vox"})"};
    for (int ch = 0; ch <= 47; ++ch) {
        EXPECT_EQ(ch == 47 ? settledRequests().size() : 0, 0) << ch;
        EXPECT_TRUE(app->SetPrmVal(QString("/Mixing/Mix:%1/Fader:0/Level/MMS").arg(ch), OVariant(ch)));
        values << QString(R"({"prmAddr":"/Mixing/Mix:%1/Fader:0/Level/MMS","prmValue":%1})").arg(ch);
    }
    QList<QJsonObject> requests = settledRequests();
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(cmdOf(requests[0]), "setData_prm_val");
    EXPECT_EQ(compactCmdinfo(requests[0]), "{\"list\":[" + values.join(',') + "]}");

    // The list was emptied: the next round starts afresh, and "ng" is reported.
    editor->answerAll("ng");
    EXPECT_TRUE(app->SetPrmVal("/Mixing/Stereo:2/Fader:0/Level/MMS", OVariant(1)));
    EXPECT_FALSE(app->SetPrmVal("/Mixing/Stereo:3/Fader:0/Level/MMS", OVariant(1)));
    requests = settledRequests();
    ASSERT_EQ(requests.size(), 2);
    EXPECT_EQ(addressesOf(requests[1]).size(), 2);
}

// Batched mode: one pending list, flushed before anything that could see it

class BatchedLayerTest : public CommandLayerTest
{
protected:
    void SetUp() override
    {
        CommandLayerTest::SetUp();
        startLinked(testTimings("shortLimit=400"), QString());   // no key: the default mode
        ASSERT_EQ(app->wireMode(), WireMode::Batched);
        app->setWriteRefusalHandler([this](const QString& address, const QVariant& value, const QString&) {
            refused << address + "=" + value.toString();
        });
    }

    // Reads sent so far, blocks and single ones.
    int reads()
    {
        int n = 0;
        for (const QJsonObject& r : settledRequests())
            n += cmdOf(r).startsWith("get") && cmdOf(r).endsWith("prm_val");
        return n;
    }

    QStringList refused;
};

TEST_F(BatchedLayerTest, WritesWaitInCallOrderForTheNextCommand)
{
    editor->setResponder(consoleResponder(editor.get()));
    // Channel blocks, racks, the automixer and plain setup values alike.
    const QStringList addresses{"/Mixing/Mix:3/Fader:0/Level/MMS", "/Mixing/GEQRack2:4/AB:0/On:0",
                                "/FX/FX:2/Param:0/Bank:0/Value:1", "/Mixing/DuganAutomixer:0/Channel:5/Weight/MMS",
                                "/Setup/RackAllocation:0/RecallSafe:0/On:0", "/Mixing/Mix:3/Fader:0/Level/MMS"};
    for (int i = 0; i < addresses.size(); ++i)
        EXPECT_TRUE(app->SetPrmVal(addresses[i], OVariant(i)));
    EXPECT_EQ(settledRequests().size(), 0);

    EXPECT_TRUE(app->SetSceneRecall("UserA", "1.00"));
    const QList<QJsonObject> requests = settledRequests();
    ASSERT_EQ(requests.size(), 2);
    EXPECT_EQ(cmdOf(requests[0]), "setData_prm_val");
    EXPECT_EQ(addressesOf(requests[0]), addresses);
    EXPECT_EQ(cmdOf(requests[1]), "set_scene_recall");

    // Every other command flushes too; an empty list sends nothing.
    const std::function<void()> commands[] = {
        [&] { app->SetSceneStore("UserA", "1.00", "T", "C"); }, [&] { app->SetLoad("/x.KX9F"); },
        [&] { app->SetSave("/x.KX9F"); }, [&] { app->SetInitCurrent(); },
        [&] { QString t; app->GetSceneInfo("Title", "UserA", "1.00", t); },
        [&] { app->SetSceneInfo("Title", "UserA", "1.00", "x"); }, [&] { app->SetWindowVisibility("Hidden"); },
        [&] { OVariant v; app->GetPrmVal("/Mixing/MuteGroup:0/Name/MMS", v); }, [&] { app->flushWrites(); }};
    for (const auto& command : commands) {
        const int before = settledRequests().size();
        app->SetPrmVal("/Mixing/DCA:1/Fader:0/Level/MMS", OVariant(int(&command - commands)));
        command();
        const QList<QJsonObject> after = settledRequests();
        ASSERT_GE(after.size(), before + 1);
        EXPECT_EQ(cmdOf(after[before]), "setData_prm_val") << int(&command - commands);
        EXPECT_TRUE(app->flushWrites());
        EXPECT_EQ(settledRequests().size(), after.size());
    }
}

TEST_F(BatchedLayerTest, TheSizeBoundSendsFullLists)
{
    const int total = MainApplication::MaxBatchEntries * 2 + 5;
    for (int i = 0; i < total; ++i)
        app->SetPrmVal(QString("/Mixing/InputChannel:%1/ToMix:%2/Level/MMS").arg(i % 120).arg(i / 120), OVariant(i));
    EXPECT_EQ(settledRequests().size(), 2);
    EXPECT_TRUE(app->flushWrites());
    const QList<QJsonObject> requests = settledRequests();
    ASSERT_EQ(requests.size(), 3);
    EXPECT_EQ(addressesOf(requests[0]).size(), MainApplication::MaxBatchEntries);
    EXPECT_EQ(addressesOf(requests[2]).size(), 5);
}

// A refused list is resent in halves until only the refused writes are left;
// a list without any answer is not resent.
TEST_F(BatchedLayerTest, ARefusedListIsResentUntilOnlyTheRefusedWritesAreLeft)
{
    // The editor refuses any request that carries a "bad" address, as a
    // console refuses a list for one bad entry.
    editor->setResponder([peer = editor.get()](const QJsonObject& r) {
        return QList<QByteArray>{peer->reply(r, QJsonDocument(r).toJson().contains("/bad") ? "ng" : "ok")};
    });
    for (int i = 0; i < 100; ++i)
        app->SetPrmVal(QString("/Mixing/Mix:%1/%2/MMS").arg(i % 48).arg(i == 17 || i == 60 ? "bad" : "Level"), OVariant(i));
    EXPECT_FALSE(app->flushWrites());
    EXPECT_EQ(refused, (QStringList{"/Mixing/Mix:17/bad/MMS=17", "/Mixing/Mix:12/bad/MMS=60"}));

    // What landed is every other write, once, in the original order.
    QStringList landed, expected;
    const QList<QJsonObject> requests = settledRequests();
    for (const QJsonObject& r : requests) {
        if (!QJsonDocument(r).toJson().contains("/bad"))
            landed << (cmdOf(r) == "set_prm_val" ? QStringList{r["cmdinfo"]["info"]["prmAddr"].toString()} : addressesOf(r));
    }
    for (int i = 0; i < 100; ++i) {
        if (i != 17 && i != 60)
            expected << QString("/Mixing/Mix:%1/Level/MMS").arg(i % 48);
    }
    EXPECT_EQ(landed, expected);
    EXPECT_LT(requests.size(), 30);   // halving, not one command per write

    editor->setResponder(nullptr);
    app->SetPrmVal("/Mixing/Mix:1/Fader:0/Level/MMS", OVariant(1));
    app->SetPrmVal("/Mixing/Mix:2/Fader:0/Level/MMS", OVariant(2));
    EXPECT_FALSE(app->flushWrites());
    EXPECT_EQ(refused.size(), 4);
    EXPECT_EQ(settledRequests().size(), requests.size() + 1);
}

// The memory's known values: what was written since it last changed
// wholesale and, after a reset, the defaults (this editor answers channel * 10).
TEST_F(BatchedLayerTest, AWriteOfWhatTheMemoryHoldsDoesNotTravel)
{
    editor->setResponder(consoleResponder(editor.get()));
    const QString dca = "/Mixing/DCA:2/Fader:0/Level/MMS", mix = "/Mixing/Mix:3/Fader:0/Level/MMS";
    // Two spellings of one value.
    const QString chorus = "/FX/FX:2/Param:0/Bank:0/Value:0/MMS/Chorus", delay = "/FX/FX:2/Param:0/Bank:0/Value:0/MMS/StDLY";
    int mark = 0;
    // "address=value" of the writes sent since `mark`; "read" for a list read.
    const auto sent = [&] {
        app->flushWrites();
        const QList<QJsonObject> requests = settledRequests();
        QStringList out;
        for (const QJsonObject& r : requests.mid(mark)) {
            if (cmdOf(r) == "getData_prm_val")
                out << "read " + addressesOf(r).join(' ');
            for (const QJsonValue& e : r["cmdinfo"]["list"].toArray()) {
                if (cmdOf(r) == "setData_prm_val")
                    out << e["prmAddr"].toString() + "=" + e["prmValue"].toVariant().toString();
            }
        }
        mark = requests.size();
        return out;
    };
    // An unknown memory: a repeated write travels once.
    for (const QString& address : {dca, dca, mix, chorus})
        app->SetPrmVal(address, OVariant(5));
    EXPECT_EQ(sent(), (QStringList{dca + "=5", mix + "=5", chorus + "=5"}));

    // A reset learns the defaults of what was written, once.
    app->SetInitCurrent();
    EXPECT_EQ(sent(), QStringList{"read /Mixing/DCA:2/Fader:0/Level /Mixing/Mix:3/Fader:0/Level /FX/FX:2/Param:0/Bank:0/Value:0"});
    for (int value : {20, 31, 30})   // dca's default; mix off its default and back
        app->SetPrmVal(value == 20 ? dca : mix, OVariant(value));
    app->SetPrmVal(chorus, OVariant(31));
    app->SetPrmVal(delay, OVariant(20));   // the default, but no longer what the value holds
    EXPECT_EQ(sent(), (QStringList{mix + "=31", mix + "=30", chorus + "=31", delay + "=20"}));
    app->SetInitCurrent();
    app->SetPrmVal(mix, OVariant(30));
    app->SetPrmVal(dca, OVariant("20", OVariant::MaxStringSize));   // a text is not the integer
    EXPECT_EQ(sent(), QStringList{dca + "=20"});

    // By name and channel, in the order of the last pass: a value the memory
    // holds costs no address. `name` is one copy, as the plug-in keeps it.
    static int formed = 0;
    const auto maker = [](const QString& name, int channel) { return ++formed, name.arg(channel); };
    const QString name = "/Mixing/Matrix:%1/Fader:0/Level/MMS";
    for (int pass = 0; pass < 3; ++pass) {
        formed = 0;
        app->SetPrmVal(name, 1, maker, OVariant(pass == 0 ? 5 : 10));   // 10, 20: the defaults
        app->SetPrmVal(name, 2, maker, OVariant(pass == 0 ? 5 : 20));
        EXPECT_EQ(sent().size(), pass == 0 ? 2 : 0) << pass;
        EXPECT_EQ(formed, (QList<int>{2, 1, 0}[pass])) << pass;   // new, then one guess to learn
        app->SetInitCurrent();
        sent();
    }

    // After a recall the defaults say nothing; after a refusal the value is unknown.
    app->SetSceneRecall("UserA", "1.00");
    mark = settledRequests().size();
    app->SetPrmVal(mix, OVariant(30));
    EXPECT_EQ(sent(), QStringList{mix + "=30"});
    editor->setResponder([peer = editor.get()](const QJsonObject& r) { return QList<QByteArray>{peer->reply(r, "ng")}; });
    app->SetPrmVal(dca, OVariant(7));
    EXPECT_FALSE(app->flushWrites());
    editor->setResponder(consoleResponder(editor.get()));
    mark = settledRequests().size();
    app->SetPrmVal(dca, OVariant(7));
    EXPECT_EQ(sent(), QStringList{dca + "=7"});
}

TEST_F(BatchedLayerTest, APassInTheOrderOfTheLastIsReadAheadInCommandsOfAtMostABatch)
{
    // Each spelling of a value gets an answer of its own here.
    editor->setResponder([peer = editor.get(), console = consoleResponder(editor.get())](const QJsonObject& r) {
        static const QRegularExpression channel(":(\\d+)/");
        if (cmdOf(r) != "getData_prm_val")
            return console(r);
        QJsonArray out;
        for (const QString& address : addressesOf(r))
            out.append(QJsonObject{{"prmValue", channel.match(address).captured(1).toInt() * 10 + address.endsWith("/Tremolo")},
                                   {"prmType", 4}});
        return QList<QByteArray>{peer->reply(r, "ok", QJsonObject{{"list", out}})};
    });
    // 20 input blocks of 120 channels, a single value, two spellings of one
    // effect block; a recall; then a short pass, as a scene list after a load.
    QStringList pass;
    for (int i = 0; i < 20; ++i)
        pass << QString("/Mixing/InputChannel:0/ToMix:%1/Level/MMS").arg(i);
    const QString rev = "/FX/FX:2/Param:0/Bank:0/Value:2/MMS/Rev", tremolo = "/FX/FX:2/Param:0/Bank:0/Value:2/MMS/Tremolo";
    pass << "/Mixing/InputChannel:3/Dynamics:0/Bank:0/Type/MMS" << rev << tremolo;
    for (const QString& address : pass)
        readInt(address);
    app->SetSceneRecall("UserA", "1.00");
    readInt("/SceneList/Bank:0/Info:0/SceneNumber:0");
    app->SetSceneRecall("UserA", "2.00");

    const int before = reads();
    for (const QString& address : pass)
        EXPECT_EQ(readInt(address), address.startsWith("/Mixing/InputChannel:3") ? 30 : address == rev ? 20 : address == tremolo ? 21 : 0)
            << address.toStdString();
    EXPECT_EQ(readInt(rev), 20);
    const QList<QJsonObject> requests = settledRequests();
    // 16 blocks (1,920 addresses), then 4 blocks, the single value and both
    // spellings.
    ASSERT_EQ(reads(), before + 2);
    EXPECT_EQ(addressesOf(requests[requests.size() - 2]).size(), 16 * 120);
    EXPECT_EQ(addressesOf(requests.last()).size(), 4 * 120 + 1 + 16 + 16);
}

// Hosts read a parameter's channels in a row; each read is answered from
// the block its own address names, however close the last address was.
TEST_F(BatchedLayerTest, ChannelRunsAreAnsweredFromTheirOwnBlock)
{
    // Channel * 10, plus 1000 * the address's second number: neighbouring
    // blocks answer differently.
    editor->setResponder([peer = editor.get()](const QJsonObject& r) {
        static const QRegularExpression numbers(":(\\d+)/[A-Za-z]+:(\\d+)/");
        QJsonArray out;
        for (const QString& address : addressesOf(r)) {
            const QRegularExpressionMatch m = numbers.match(address);
            out.append(QJsonObject{{"prmValue", m.captured(1).toInt() * 10 + m.captured(2).toInt() * 1000}, {"prmType", 4}});
        }
        return QList<QByteArray>{peer->reply(r, "ok", QJsonObject{{"list", out}})};
    });
    const QString level = "/Mixing/Mix:%1/Fader:0/Level/MMS";
    for (int channel = 0; channel < 48; ++channel)
        ASSERT_EQ(readInt(level.arg(channel)), channel * 10) << channel;
    EXPECT_EQ(reads(), 1);
    const std::pair<QString, int> reads[] = {
        {"/Mixing/Mix:05/Fader:0/Level/MMS", 50},        {"/Mixing/Mix:7/ToMix:1/Level/MMS", 1070},
        {"/Mixing/Mix:8/ToMix:2/Level/MMS", 2080},       {"/Mixing/Mix:8/Fader:0/Level/MMS", 80},
        {"/Mixing/Mix:123456789/Fader:0/Level/MMS", -1}, {"/Mixing/Mix:9/Fader:0/Level/MMS", 90},
        {"/Mixing/Mix:1234567890/Fader:0/Level/MMS", -1}, {"/Mixing/Mix:10/Fader:0/Level/MMSx", 100},
        {"/Mixing/DCA:3/Fader:0/Level/MMS", 30},         {"/Mixing/DCA:3/Fader:0/Level/MMS/", 30},
        {"/Mixing/Mix:4/Fader:0/Level/MMS", 40}};
    for (const auto& [address, value] : reads)
        EXPECT_EQ(readInt(address), value) << address.toStdString();
}

// Until the host has read a pass of its own, a suggested order is read
// ahead from the first read on; the host's own pass then takes over.
TEST_F(BatchedLayerTest, ASuggestedOrderIsFollowedUntilTheHostReadsAPass)
{
    editor->setResponder(consoleResponder(editor.get()));
    const MemoryMirror::AddressMaker arg = [](const QString& name, int channel) { return name.arg(channel); };
    const QString mix = "/Mixing/Mix:%1/Fader:0/Level/MMS", type = "/Mixing/InputChannel:%1/Dynamics:0/Type/MMS",
                  dca = "/Mixing/DCA:%1/Fader:0/Level/MMS";
    app->suggestReadOrder({{mix, 0, 47, arg}, {type, 2, 3, arg}, {dca, 0, 23, arg}});
    EXPECT_EQ(readInt(mix.arg(0)), 0);
    EXPECT_EQ(readInt(type.arg(3)), 3 * 10);
    EXPECT_EQ(readInt(dca.arg(23)), 230);
    EXPECT_EQ(reads(), 1);
    EXPECT_EQ(addressesOf(settledRequests().last()).size(), 48 + 2 + 24);

    // The host's own pass comes first from then on, followed by what only
    // the suggestion named; a later suggestion changes nothing.
    app->SetSceneRecall("UserA", "1.00");
    readInt(dca.arg(1));   // then the type read last time
    EXPECT_EQ(addressesOf(settledRequests().last()).size(), 24 + 1);
    readInt(mix.arg(1));   // then the type only suggested
    EXPECT_EQ(addressesOf(settledRequests().last()).size(), 48 + 1);
    app->suggestReadOrder({{mix, 0, 47, arg}});
    app->SetSceneRecall("UserA", "2.00");
    const int before = reads();
    EXPECT_EQ(readInt(dca.arg(1)), 10);
    EXPECT_EQ(readInt(mix.arg(2)), 20);
    EXPECT_EQ(readInt(type.arg(2)), 20);
    EXPECT_EQ(reads(), before + 1);
    EXPECT_EQ(addressesOf(settledRequests().last()).size(), 24 + 48 + 2);
}

TEST_F(BatchedLayerTest, ReadsNeverAnswerAValueOlderThanAWriteOrMemoryChange)
{
    editor->setResponder(consoleResponder(editor.get()));
    const QString fx4 = "/FX/FX:4/Param:0/Bank:0/Value:2/MMS/Tremolo", dynamics = "/Mixing/InputChannel:3/Dynamics:0/Bank:0/Type/MMS";
    readInt("/FX/FX:3/Param:0/Bank:0/Value:2/MMS/Tremolo");
    readInt(fx4);
    readInt(dynamics);
    readInt(dynamics);
    EXPECT_EQ(reads(), 2);   // a block and a single read, each cached

    // A write to another block keeps them; one to any spelling of a value of
    // the block drops the block, and the next read sends the write first.
    app->SetPrmVal("/FX/FX:3/Param:0/Bank:0/Value:3", OVariant(0));
    readInt(fx4);
    EXPECT_EQ(reads(), 2);
    app->SetPrmVal("/FX/FX:3/Param:0/Bank:0/Value:2", OVariant(0));
    readInt(fx4);
    EXPECT_EQ(reads(), 3);
    app->SetPrmVal("/Mixing/InputChannel:3/Dynamics:0/Bank:0/Type", OVariant(0));
    readInt(dynamics);
    EXPECT_EQ(reads(), 4);
    const QList<QJsonObject> requests = settledRequests();
    EXPECT_EQ(cmdOf(requests[requests.size() - 2]), "setData_prm_val");

    // Recall, store, load and reset forget everything; saving does not. The
    // reset also learns the defaults of what was written before it, in one
    // list read.
    const std::function<void()> changes[] = {[&] { app->SetSceneRecall("UserA", "1.00"); },
                                             [&] { app->SetSceneStore("UserA", "1.00", "", ""); },
                                             [&] { app->SetLoad("/x.KX9F"); }, [&] { app->SetInitCurrent(); }};
    for (const auto& change : changes) {
        const int before = reads();
        app->SetSave("/x.KX9F");
        readInt(fx4);
        EXPECT_EQ(reads(), before);
        change();
        readInt(fx4);
        readInt(dynamics);
        // Both from the editor again, in one command: the pass before read
        // the dynamics type after the block, so it is read ahead with it. The
        // reset also learns the defaults of what was written before it.
        EXPECT_EQ(reads(), before + 1 + (&change == &changes[3])) << int(&change - changes);
        EXPECT_EQ(addressesOf(settledRequests().last()).size(), 16 + 1);
    }

    // A command without an answer: the editor may have lost everything.
    editor->setResponder(nullptr);
    QString title;
    app->GetSceneInfo("Title", "UserA", "1.00", title);
    editor->setResponder(consoleResponder(editor.get()));
    const int before = reads();
    EXPECT_EQ(readInt(fx4), 40);
    EXPECT_EQ(reads(), before + 1);
}

} // namespace
