// The command layer on a real worker thread, driving a scripted editor that
// the launch found through KX9.ini.
#include "link/MainApplication.h"

#include "EditorScript.h"
#include "QtPrinters.h"
#include "ScriptedEditor.h"
#include "host/ConverterException.h"
#include "support/OVariant.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLoggingCategory>
#include <QMetaMethod>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace {

QMutex capturedMutex;
QStringList capturedFailures;

void captureFailure(const QString& title, const QString& text)
{
    QMutexLocker locker(&capturedMutex);
    capturedFailures << title + "|" + text;
}

QStringList failures()
{
    QMutexLocker locker(&capturedMutex);
    return capturedFailures;
}

LinkTimings testTimings()
{
    LinkTimings t;
    t.createPolls = 100;
    t.createSleepMs = 50;
    t.readyPolls = 20;
    t.readySleepMs = 50;
    t.destroyPolls = 40;
    t.destroySleepMs = 50;
    return t;
}

QString iniPath()
{
    return QDir(QCoreApplication::applicationDirPath()).absoluteFilePath("KX9.ini");
}

QString channelOf(const QString& address)
{
    static const QRegularExpression re(":(\\d+)/");
    return re.match(address).captured(1);
}

class CommandLayerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_FALSE(QFileInfo::exists(iniPath())) << "stale KX9.ini next to the test program";
        savedCwd = QDir::currentPath();
        script = writeEditorScript(dir.path());
        ASSERT_FALSE(script.isEmpty());
        {
            QMutexLocker locker(&capturedMutex);
            capturedFailures.clear();
        }
        MainApplication::setLaunchFailureReporter(captureFailure);
    }

    void TearDown() override
    {
        shutdown();
        editor.reset();
        QFile::remove(iniPath());
        QDir::setCurrent(savedCwd);
        MainApplication::setLaunchFailureReporter(nullptr);
    }

    // The wire forms pinned below are the strict mode's; the batched mode
    // has tests of its own at the end.
    void writeIni(const QString& editorPath, bool withKey = true, const QString& wireMode = "strict")
    {
        QSettings settings(iniPath(), QSettings::IniFormat);
        settings.beginGroup("MainApplication");
        if (withKey)
            settings.setValue("VirtualDeviceFilePath", editorPath);
        else
            settings.setValue("Other", "x");
        if (!wireMode.isEmpty())
            settings.setValue("WireMode", wireMode);
        settings.endGroup();
        settings.sync();
        ASSERT_EQ(settings.status(), QSettings::NoError);
    }

    // What the mixer object does on creation, up to the launch.
    void construct(const LinkTimings& timings = testTimings())
    {
        app = new MainApplication(timings);
        thread = new QThread;
        app->moveToThread(thread);
        thread->start(QThread::InheritPriority);
        ASSERT_TRUE(QMetaObject::invokeMethod(app, "doCommandCreate"));
    }

    // Plays the editor program: picks up the command line, connects, announces.
    void attachEditor()
    {
        ASSERT_TRUE(spinUntil([&] { return !readEditorArgs(dir.path()).isEmpty(); }));
        args = readEditorArgs(dir.path());
        ASSERT_EQ(args.size(), 6) << args.join(' ').toStdString();
        ASSERT_TRUE(args.at(2).startsWith("uid="));
        ASSERT_TRUE(args.at(4).startsWith("port="));
        uid = args.at(2).mid(4);
        port = quint16(args.at(4).mid(5).toUInt());
        editor = std::make_unique<ScriptedEditor>();
        ASSERT_TRUE(editor->connectTo(port));
        editor->announce(uid);
        ASSERT_TRUE(app->waitForCommandCreated());
    }

    void startLinked(const LinkTimings& timings = testTimings(), const QString& wireMode = "strict")
    {
        writeIni(script, true, wireMode);
        construct(timings);
        attachEditor();
        editor->setResponder(ScriptedEditor::okResponder(editor.get()));
    }

    // What the mixer object does in Destroy, after the window command.
    void shutdown()
    {
        if (!app)
            return;
        QMetaObject::invokeMethod(app, "doCommandDestroy");
        destroyedFlag = app->waitForCommandDestroyed();
        thread->quit();
        thread->wait();
        delete thread;
        delete app;
        thread = nullptr;
        app = nullptr;
    }

    void refuseAll()
    {
        editor->setResponder([peer = editor.get()](const QJsonObject& r) { return QList<QByteArray>{peer->reply(r, "ng")}; });
    }

    // Requests seen by the editor after a short grace period for stragglers.
    QList<QJsonObject> settledRequests()
    {
        QThread::msleep(50);
        return editor->requests();
    }

    QTemporaryDir dir;
    QString savedCwd;
    QString script;
    QStringList args;
    QString uid;
    quint16 port = 0;
    MainApplication* app = nullptr;
    QThread* thread = nullptr;
    std::unique_ptr<ScriptedEditor> editor;
    bool destroyedFlag = false;
};

// ---------------------------------------------------------------------------
// Launch

TEST(CommandLayerMeta, EighteenPrivateSlotsInOrderAndIdleFlags)
{
    MainApplication idle(testTimings());
    EXPECT_FALSE(idle.commandCreated());
    EXPECT_TRUE(idle.commandDestroyed());
    EXPECT_FALSE(idle.mmsReadied());
    const QMetaObject& meta = MainApplication::staticMetaObject;
    QStringList slotNames;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        const QMetaMethod m = meta.method(i);
        if (m.methodType() == QMetaMethod::Slot) {
            EXPECT_EQ(m.access(), QMetaMethod::Private) << m.methodSignature().constData();
            slotNames << QString::fromLatin1(m.name());
        }
    }
    EXPECT_EQ(slotNames, (QStringList{"doCommandCreate", "doCommandDestroy", "doCommandGetPrmVal", "doCommandSetPrmData",
                                  "doCommandSetPrmVal", "doCommandGetPrmData", "doCommandGetSceneInfo",
                                  "doCommandSetSceneInfo", "doCommandSetSceneRecall", "doCommandSetSceneStore",
                                  "doCommandSetLoad", "doCommandSetSave", "doCommandSetInitCurrent",
                                  "doCommandSetWindowVisibility", "onProcessCreated", "onProcessDestroyed",
                                  "onProcessReplyReceived", "onProcessNotifyReceived"}));
}

TEST_F(CommandLayerTest, LaunchPassesCommandLineAndRestoresCurrentDirectory)
{
    QTemporaryDir elsewhere;
    ASSERT_TRUE(QDir::setCurrent(elsewhere.path()));
    startLinked();
    EXPECT_EQ(QFileInfo(QDir::currentPath()).canonicalFilePath(), QFileInfo(elsewhere.path()).canonicalFilePath());

    // The editor runs in its own directory.
    EXPECT_EQ(QFileInfo(args.at(0)).canonicalFilePath(), QFileInfo(dir.path()).canonicalFilePath());
    EXPECT_EQ(args.at(1), QString("-mKX9C"));
    EXPECT_EQ(uid.size(), 38);
    EXPECT_TRUE(uid.startsWith('{') && uid.endsWith('}'));
    EXPECT_EQ(args.at(3), "work=" + QCoreApplication::applicationDirPath());
    EXPECT_EQ(args.at(5), QString("appname=Plaxbridge"));
    EXPECT_TRUE(app->commandCreated());
    EXPECT_FALSE(app->commandDestroyed());
    EXPECT_TRUE(failures().isEmpty());

    // Requests carry the server name and fresh request identifiers.
    EXPECT_TRUE(app->SetInitCurrent());
    EXPECT_TRUE(app->SetInitCurrent());
    const QList<QJsonObject> requests = settledRequests();
    ASSERT_EQ(requests.size(), 2);
    const QString server = requests[0].value("from").toString();
    EXPECT_EQ(server.size(), 38);
    EXPECT_NE(server, uid);
    EXPECT_EQ(requests[1].value("from").toString(), server);
    EXPECT_EQ(requests[0].value("to").toString(), uid);
    EXPECT_EQ(requests[0].value("reqid").toString().size(), 38);
    EXPECT_NE(requests[0].value("reqid"), requests[1].value("reqid"));
}

struct LaunchFailureCase {
    const char* name;
    int iniForm;   // 0: no file, 1: key missing, 2: key empty, 3: editor missing
    const char* text;
};

class LaunchFailureTest : public CommandLayerTest, public ::testing::WithParamInterface<LaunchFailureCase> {};

TEST_P(LaunchFailureTest, ReportsAndStartsNothing)
{
    switch (GetParam().iniForm) {
    case 1: writeIni(script, false); break;
    case 2: writeIni(""); break;
    case 3: writeIni(dir.filePath("no-such-editor")); break;
    default: break;
    }
    const QString cwd = QDir::currentPath();
    LinkTimings t = testTimings();
    t.createPolls = 5;
    t.createSleepMs = 20;
    construct(t);
    ASSERT_TRUE(spinUntil([] { return !failures().isEmpty(); }));
    EXPECT_EQ(failures(), QStringList{QString("Plaxbridge (QORA Version)|") + GetParam().text});
    EXPECT_FALSE(app->waitForCommandCreated());
    EXPECT_TRUE(app->commandDestroyed());
    EXPECT_EQ(QDir::currentPath(), cwd);
    QThread::msleep(100);
    EXPECT_TRUE(readEditorArgs(dir.path()).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Ini, LaunchFailureTest,
    ::testing::Values(LaunchFailureCase{"FileMissing", 0, "KX9.ini file not found."},
                      LaunchFailureCase{"KeyMissing", 1, "Wrong KX9.ini file."},
                      LaunchFailureCase{"KeyEmpty", 2, "Wrong KX9.ini file."},
                      LaunchFailureCase{"EditorMissing", 3, "QORA Editor executable file not found."}),
    [](const ::testing::TestParamInfo<LaunchFailureCase>& info) { return std::string(info.param.name); });

TEST_F(CommandLayerTest, RelativeEditorPathFollowsCurrentDirectory)
{
    writeIni("editor.sh");
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    construct();
    attachEditor();
    EXPECT_TRUE(failures().isEmpty());
    EXPECT_EQ(QFileInfo(QDir::currentPath()).canonicalFilePath(), QFileInfo(dir.path()).canonicalFilePath());
}

TEST_F(CommandLayerTest, RelativeEditorPathIgnoresIniDirectory)
{
    // An editor.sh beside KX9.ini must not be found from another directory.
    const QString besideIni = writeEditorScript(QCoreApplication::applicationDirPath());
    ASSERT_FALSE(besideIni.isEmpty());
    writeIni("editor.sh");
    QTemporaryDir elsewhere;
    ASSERT_TRUE(QDir::setCurrent(elsewhere.path()));
    construct();
    const bool reported = spinUntil([] { return !failures().isEmpty(); });
    QThread::msleep(100);
    const bool started = QFileInfo::exists(QDir(QCoreApplication::applicationDirPath()).absoluteFilePath("args.txt"));
    QFile::remove(besideIni);
    QFile::remove(QDir(QCoreApplication::applicationDirPath()).absoluteFilePath("args.txt"));
    ASSERT_TRUE(reported);
    EXPECT_EQ(failures(), QStringList{"Plaxbridge (QORA Version)|QORA Editor executable file not found."});
    EXPECT_FALSE(started);
}

QMutex logMutex;
QStringList logLines;

void captureLog(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    QMutexLocker locker(&logMutex);
    const char* category = context.category ? context.category : "";
    logLines << QString("%1|%2|%3").arg(int(type)).arg(QString::fromLatin1(category), message);
}

QStringList takeLog()
{
    QMutexLocker locker(&logMutex);
    QStringList lines = logLines;
    logLines.clear();
    return lines;
}

// Entries outside the ranges, malformed or unknown leave the value as it was
// and are named, with the variable, in one warning.
TEST(LinkTimingsFromEnvironment, TakesSaneEntriesAndNamesTheOthersOnce)
{
    const auto read = [](const char* value, QStringList& log) {
        qputenv("QORA_LINK_TIMINGS", value);
        takeLog();
        const QtMessageHandler previous = qInstallMessageHandler(captureLog);
        const LinkTimings t = LinkTimings::fromEnvironment();
        qInstallMessageHandler(previous);
        qunsetenv("QORA_LINK_TIMINGS");
        log = takeLog();
        return t;
    };
    QStringList log;
    const char bad[] = "shortLimit=9,longLimit=600001,createPolls=0,destroyPolls=10001,createSleepMs=-5,"
                       "readySleepMs=x,pollingWait=maybe,bogus=3,noequals";
    const char good[] = "shortLimit=10,longLimit=600000,createPolls=1,readyPolls=10000,destroySleepMs=1,"
                        "readySleepMs=10000,pollingWait=on,";
    const LinkTimings t = read(QByteArray(good) + bad, log);
    EXPECT_EQ((std::vector<int>{t.shortLimit, t.longLimit, t.createPolls, t.readyPolls, t.destroySleepMs,
                                t.readySleepMs, t.destroyPolls, t.createSleepMs, t.pollingWait}),
              (std::vector<int>{10, 600000, 1, 10000, 1, 10000, 100, 100, true}));
    EXPECT_EQ(log, QStringList{QString("%1|default|QORA_LINK_TIMINGS=\"%2\": ignored %3 (unknown, malformed or out "
                                       "of range; left as they were)").arg(int(QtWarningMsg)).arg(QString(good) + bad, bad)});

    EXPECT_EQ(read("shortLimit=200", log).shortLimit, 200);
    EXPECT_TRUE(log.isEmpty());
}

TEST_F(CommandLayerTest, DefaultReporterWritesCriticalLogWithoutGui)
{
    MainApplication::setLaunchFailureReporter(nullptr);
    takeLog();
    const QtMessageHandler previous = qInstallMessageHandler(captureLog);
    construct();
    const bool logged = spinUntil([] {
        QMutexLocker locker(&logMutex);
        for (const QString& line : logLines) {
            if (line.startsWith(QString("%1|").arg(int(QtCriticalMsg)))
                && line.endsWith("|Plaxbridge (QORA Version): KX9.ini file not found."))
                return true;
        }
        return false;
    });
    qInstallMessageHandler(previous);
    EXPECT_TRUE(logged);
    EXPECT_FALSE(app->commandCreated());
}

TEST_F(CommandLayerTest, FlagsFollowEditorLifecycle)
{
    LinkTimings t = testTimings();
    t.readyPolls = 4;
    t.readySleepMs = 25;
    startLinked(t);
    EXPECT_FALSE(app->mmsReadied());
    editor->notify("Something Else");
    EXPECT_FALSE(app->waitForMmsReadied());
    editor->notify("MMS Readied");
    EXPECT_TRUE(app->waitForMmsReadied());
    EXPECT_TRUE(app->mmsReadied());

    // Another local client leaving is not the editor leaving: the destroy
    // wait ends with the editor's own close.
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
    startLinked();
    QMetaObject::invokeMethod(app, "doCommandDestroy");
    EXPECT_TRUE(app->waitForCommandDestroyed());
    EXPECT_FALSE(app->commandCreated());
    EXPECT_TRUE(spinUntil([&] { return !editor->isConnected(); }));
    shutdown();
    QFile::remove(dir.filePath("args.txt"));

    startLinked();
    thread->quit();
    thread->wait();
    delete thread;
    delete app;
    thread = nullptr;
    app = nullptr;
    EXPECT_TRUE(spinUntil([&] { return !editor->isConnected(); }));
}

// ---------------------------------------------------------------------------
// Commands with fixed payloads

struct CommandCase {
    const char* name;
    std::function<bool(MainApplication&)> run;
    const char* cmd;
    const char* cmdinfo;   // compact JSON
};

class CommandPayloadTest : public CommandLayerTest, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(CommandPayloadTest, SendsPayloadAndReportsResult)
{
    startLinked();
    EXPECT_TRUE(GetParam().run(*app));
    QList<QJsonObject> requests = settledRequests();
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0].value("cmd").toString(), QString(GetParam().cmd));
    EXPECT_EQ(QJsonDocument(requests[0].value("cmdinfo").toObject()).toJson(QJsonDocument::Compact),
              QByteArray(GetParam().cmdinfo));

    refuseAll();
    EXPECT_FALSE(GetParam().run(*app));
}

INSTANTIATE_TEST_SUITE_P(
    All, CommandPayloadTest,
    ::testing::Values(
        CommandCase{"SceneInfoSet",
                    [](MainApplication& a) { return a.SetSceneInfo("Title", "UserA", "1.00", "Intro"); },
                    "set_scene_info",
                    R"({"info":{"prmSceneCategory":"UserA","prmSceneInfoType":"Title","prmSceneNumber":"1.00","prmValue":"Intro"}})"},
        CommandCase{"Recall", [](MainApplication& a) { return a.SetSceneRecall("UserA", "2.50"); },
                    "set_scene_recall", R"({"info":{"prmSceneCategory":"UserA","prmSceneNumber":"2.50"}})"},
        CommandCase{"Store",
                    [](MainApplication& a) { return a.SetSceneStore("UserA", "3.00", "T", "C"); },
                    "set_scene_store",
                    R"({"info":{"prmSceneCategory":"UserA","prmSceneComment":"C","prmSceneNumber":"3.00","prmSceneTitle":"T"}})"},
        CommandCase{"Load", [](MainApplication& a) { return a.SetLoad("/x/a.KX9F"); }, "set_load",
                    R"({"info":{"path":"/x/a.KX9F"}})"},
        CommandCase{"Save", [](MainApplication& a) { return a.SetSave("/x/b.KX9F"); }, "set_save",
                    R"({"info":{"path":"/x/b.KX9F"}})"},
        CommandCase{"InitCurrent", [](MainApplication& a) { return a.SetInitCurrent(); }, "set_init_current", "{}"},
        CommandCase{"SingleWrite",
                    [](MainApplication& a) { return a.SetPrmVal("/Mixing/MuteGroup:3/Name/MMS", OVariant("Drums", 100)); },
                    "set_prm_val", R"({"info":{"prmAddr":"/Mixing/MuteGroup:3/Name/MMS","prmValue":"Drums"}})"},
        CommandCase{"GeqWriteSingle",
                    [](MainApplication& a) { return a.SetPrmVal("/Mixing/GEQRack2:31/Band:0/Gain/MMS", OVariant(-6)); },
                    "set_prm_val", R"({"info":{"prmAddr":"/Mixing/GEQRack2:31/Band:0/Gain/MMS","prmValue":-6}})"},
        CommandCase{"FxWriteSingle",
                    [](MainApplication& a) { return a.SetPrmVal("/FX/FX:0/Param:1/MMS", OVariant(12)); },
                    "set_prm_val", R"({"info":{"prmAddr":"/FX/FX:0/Param:1/MMS","prmValue":12}})"},
        CommandCase{"ChannelBeyondBlockIsSingle",
                    [](MainApplication& a) { return a.SetPrmVal("/Mixing/Mix:48/Fader:0/Level/MMS", OVariant(1)); },
                    "set_prm_val", R"({"info":{"prmAddr":"/Mixing/Mix:48/Fader:0/Level/MMS","prmValue":1}})"}),
    [](const ::testing::TestParamInfo<CommandCase>& info) { return std::string(info.param.name); });

TEST_F(CommandLayerTest, WindowVisibilityAndSceneInfoText)
{
    startLinked();
    app->SetWindowVisibility("Hidden");
    ASSERT_EQ(settledRequests().size(), 1);
    EXPECT_EQ(QJsonDocument(editor->requests()[0].value("cmdinfo").toObject()).toJson(QJsonDocument::Compact),
              QByteArray(R"({"info":{"prmWindowVisibility":"Hidden"}})"));
    editor->setResponder([peer = editor.get()](const QJsonObject& r) {
        return QList<QByteArray>{peer->reply(r, "ok", QJsonObject{{"info", QJsonObject{{"prmValue", "Verse 2"}}}})};
    });
    QString text;
    EXPECT_TRUE(app->GetSceneInfo("Title", "UserA", "1.00", text));
    EXPECT_EQ(text, QString("Verse 2"));
    EXPECT_EQ(QJsonDocument(editor->requests().last().value("cmdinfo").toObject()).toJson(QJsonDocument::Compact),
              QByteArray(R"({"info":{"prmSceneCategory":"UserA","prmSceneInfoType":"Title","prmSceneNumber":"1.00"}})"));

    // Data of an "ng" reply is not trusted.
    editor->setResponder([peer = editor.get()](const QJsonObject& r) {
        return QList<QByteArray>{peer->reply(r, "ng", QJsonObject{{"info", QJsonObject{{"prmValue", "bad"}}}})};
    });
    EXPECT_FALSE(app->GetSceneInfo("Title", "UserA", "1.00", text));
    EXPECT_TRUE(text.isEmpty());
}

// ---------------------------------------------------------------------------
// Waiting

// Requests a responder has seen; shared so that a reply still in flight when
// a test ends finds it alive.
struct SeenRequests {
    QMutex mutex;
    QList<QJsonObject> list;
};

class WaitModeTest : public CommandLayerTest, public ::testing::WithParamInterface<bool>
{
protected:
    LinkTimings timings(int limit) const
    {
        LinkTimings t = testTimings();
        t.pollingWait = GetParam();
        t.shortLimit = limit;
        t.longLimit = limit;
        return t;
    }
};

TEST_P(WaitModeTest, ProgressRepliesDoNotEndWait)
{
    startLinked(timings(20000));
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(app->SetSave("/x/a.KX9F"));   // answered at once: far within its limit
    EXPECT_LT(clock.elapsed(), 10000);
    editor->setResponder([peer = editor.get()](const QJsonObject& r) {
        // The final answer comes well after the progress reports.
        peer->sendAfter(300, peer->reply(r, "ok", QJsonObject{{"info", QJsonObject{{"prmValue", "final"}}}}, "100"));
        return QList<QByteArray>{
            peer->reply(r, "progress", QJsonObject{{"info", QJsonObject{{"prmValue", "early"}}}}, "10"),
            peer->reply(r, "", QJsonObject{{"info", QJsonObject{{"prmValue", "early2"}}}}, "60")};
    });
    QString text;
    EXPECT_TRUE(app->GetSceneInfo("Comment", "UserA", "4.00", text));
    EXPECT_EQ(text, QString("final"));
}

TEST_P(WaitModeTest, SilentEditorRunsIntoLimit)
{
    startLinked(timings(300));
    editor->setResponder(nullptr);
    QString text = "previous";
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(app->GetSceneInfo("Title", "UserA", "1.00", text));
    const qint64 elapsed = clock.elapsed();
    EXPECT_TRUE(text.isEmpty());
    EXPECT_GE(elapsed, 300);
    EXPECT_LT(elapsed, 300 + 1000);

    clock.restart();
    EXPECT_FALSE(app->SetLoad("/x.KX9F"));
    EXPECT_GE(clock.elapsed(), 300);
    EXPECT_EQ(editor->requestCount(), 2);
}

TEST_P(WaitModeTest, LateReplyEndsNextCommandsWait)
{
    startLinked(timings(300));
    auto seen = std::make_shared<SeenRequests>();
    ScriptedEditor* peer = editor.get();
    editor->setResponder([seen, peer](const QJsonObject& r) {
        QMutexLocker locker(&seen->mutex);
        seen->list << r;
        if (seen->list.size() == 1)
            return QList<QByteArray>{};   // first command: silence
        // Second command: only the first one's answer arrives.
        return QList<QByteArray>{
            peer->reply(seen->list.first(), "ok", QJsonObject{{"info", QJsonObject{{"prmValue", "late"}}}})};
    });
    QString text;
    EXPECT_FALSE(app->GetSceneInfo("Title", "UserA", "1.00", text));
    EXPECT_TRUE(app->GetSceneInfo("Title", "UserA", "2.00", text));
    EXPECT_EQ(text, QString("late"));
}

TEST_P(WaitModeTest, StaleReplyBeforeCommandIsIgnored)
{
    startLinked(timings(300));
    auto seen = std::make_shared<SeenRequests>();
    ScriptedEditor* peer = editor.get();
    editor->setResponder([seen, peer](const QJsonObject& r) {
        QMutexLocker locker(&seen->mutex);
        seen->list << r;
        if (seen->list.size() == 1)
            return QList<QByteArray>{};
        return QList<QByteArray>{peer->reply(r, "ok", QJsonObject{{"info", QJsonObject{{"prmValue", "fresh"}}}})};
    });
    QString text;
    EXPECT_FALSE(app->GetSceneInfo("Title", "UserA", "1.00", text));
    QJsonObject first;
    {
        QMutexLocker locker(&seen->mutex);
        ASSERT_EQ(seen->list.size(), 1);
        first = seen->list.first();
    }
    // The late answer arrives between commands; the next command clears it.
    editor->sendRaw(editor->reply(first, "ok", QJsonObject{{"info", QJsonObject{{"prmValue", "late"}}}}) + "\n");
    QThread::msleep(150);
    EXPECT_TRUE(app->GetSceneInfo("Title", "UserA", "2.00", text));
    EXPECT_EQ(text, QString("fresh"));
}

INSTANTIATE_TEST_SUITE_P(Modes, WaitModeTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "Polling" : "WakeOnAnswer");
                         });

// ---------------------------------------------------------------------------
// Parameter reads

// Answers block reads with value = channel * 10 (type 4) and single reads
// with a text; counts nothing itself (the editor records requests).
ScriptedEditor::Responder consoleResponder(ScriptedEditor* editor, int listLimit = -1, int prmType = 4)
{
    return [=](const QJsonObject& r) {
        const QString cmd = r.value("cmd").toString();
        const QJsonObject cmdinfo = r.value("cmdinfo").toObject();
        if (cmd == "getData_prm_val") {
            QJsonArray out;
            const QJsonArray in = cmdinfo.value("list").toArray();
            for (int i = 0; i < in.size() && (listLimit < 0 || i < listLimit); ++i) {
                const int channel = channelOf(in.at(i).toObject().value("prmAddr").toString()).toInt();
                out.append(QJsonObject{{"prmValue", channel * 10}, {"prmType", prmType}});
            }
            return QList<QByteArray>{editor->reply(r, "ok", QJsonObject{{"list", out}})};
        }
        if (cmd == "get_prm_val") {
            return QList<QByteArray>{editor->reply(
                r, "ok", QJsonObject{{"info", QJsonObject{{"prmValue", "GATE"}, {"prmType", 64}}}})};
        }
        return QList<QByteArray>{editor->reply(r, "ok")};
    };
}

TEST_F(CommandLayerTest, BlockReadFetchesWholeBlockOnce)
{
    startLinked();
    editor->setResponder(consoleResponder(editor.get()));
    QLoggingCategory::setFilterRules("qora.link.request.debug=true");
    takeLog();
    const QtMessageHandler previous = qInstallMessageHandler(captureLog);

    OVariant value;
    app->GetPrmVal("/Mixing/InputChannel:5/Fader:0/Level/MMS", value);
    EXPECT_EQ(value.type(), OVariant::Integer);
    EXPECT_EQ(value.toInt(), 50);
    app->GetPrmVal("/Mixing/InputChannel:6/Fader:0/Level/MMS", value);
    EXPECT_EQ(value.toInt(), 60);
    app->GetPrmVal("/Mixing/InputChannel:119/Fader:0/Level/MMS", value);
    EXPECT_EQ(value.toInt(), 1190);

    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QString());

    const QList<QJsonObject> requests = settledRequests();
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0].value("cmd").toString(), QString("getData_prm_val"));
    const QJsonArray list = requests[0].value("cmdinfo").toObject().value("list").toArray();
    ASSERT_EQ(list.size(), 120);
    for (int i = 0; i < 120; ++i) {
        EXPECT_EQ(list.at(i).toObject().value("prmAddr").toString(),
                  QString("/Mixing/InputChannel:%1/Fader:0/Level/MMS").arg(i));
    }
    const QStringList log = takeLog().filter("qora.link.request");
    EXPECT_EQ(log, QStringList{QString("%1|qora.link.request|getData_prm_val").arg(int(QtDebugMsg))});
}

// Each block is requested whole, whichever channel is read.
TEST_F(CommandLayerTest, BlockSizesPerStrip)
{
    startLinked();
    editor->setResponder(consoleResponder(editor.get()));
    struct Block { const char* address; int size; int channel; };
    const Block blocks[] = {{"/Mixing/Mix:47/Fader:0/Level/MMS", 48, 47},   {"/Mixing/Matrix:0/Fader:0/Level/MMS", 12, 0},
                            {"/Mixing/Stereo:3/Fader:0/Level/MMS", 4, 3},   {"/Mixing/DCA:7/Fader:0/Level/MMS", 24, 7},
                            {"/Mixing/GEQRack2:30/Band:3/Gain/MMS", 32, 30}, {"/FX/FX:15/Param:2/MMS", 16, 15}};
    for (const Block& b : blocks) {
        OVariant value;
        app->GetPrmVal(b.address, value);
        EXPECT_EQ(value.toInt(), b.channel * 10) << b.address;
        const QList<QJsonObject> requests = settledRequests();
        ASSERT_EQ(requests.size(), int(&b - blocks) + 1) << b.address;
        EXPECT_EQ(requests.last().value("cmdinfo").toObject().value("list").toArray().size(), b.size) << b.address;
    }
}

TEST_F(CommandLayerTest, SomeAddressesAreAlwaysReadSingly)
{
    startLinked();
    editor->setResponder(consoleResponder(editor.get()));
    takeLog();
    const QtMessageHandler previous = qInstallMessageHandler(captureLog);
    const QStringList addresses{"/Mixing/InputChannel:3/Dynamics:0/Type/MMS", "/Mixing/InputChannel:3/Dynamics:0/Type/MMS",
                                "/FX/FX:2/PluginName/MMS", "/Mixing/MuteGroup:4/Name/MMS"};
    for (const QString& address : addresses) {
        OVariant value;
        app->GetPrmVal(address, value);
        EXPECT_STREQ(value.toString(), "GATE") << address.toStdString();
    }
    qInstallMessageHandler(previous);
    const QList<QJsonObject> requests = settledRequests();
    ASSERT_EQ(requests.size(), addresses.size());
    for (int i = 0; i < addresses.size(); ++i) {
        EXPECT_EQ(requests[i].value("cmd").toString(), QString("get_prm_val"));
        EXPECT_EQ(requests[i].value("cmdinfo").toObject().value("info").toObject().value("prmAddr").toString(),
                  addresses[i]);
    }
    EXPECT_EQ(takeLog().filter("|single getParam").size(), addresses.size());
}

TEST_F(CommandLayerTest, FailedBlockReadLeavesValueInvalidAndCacheEmpty)
{
    startLinked();
    refuseAll();
    OVariant value(7);
    app->GetPrmVal("/Mixing/Matrix:3/Fader:0/Level/MMS", value);
    EXPECT_FALSE(value.isValid());

    editor->setResponder(consoleResponder(editor.get()));
    app->GetPrmVal("/Mixing/Matrix:3/Fader:0/Level/MMS", value);
    EXPECT_EQ(value.toInt(), 30);
    EXPECT_EQ(settledRequests().size(), 2);

    // A failed read of another block drops the cached one as well.
    refuseAll();
    app->GetPrmVal("/Mixing/Matrix:3/Fader:0/On/MMS", value);
    EXPECT_FALSE(value.isValid());
    editor->setResponder(consoleResponder(editor.get()));
    app->GetPrmVal("/Mixing/Matrix:4/Fader:0/Level/MMS", value);
    EXPECT_EQ(value.toInt(), 40);
    EXPECT_EQ(settledRequests().size(), 4);

    // A single read that fails also leaves the value invalid.
    refuseAll();
    app->GetPrmVal("/Mixing/MuteGroup:0/Name/MMS", value);
    EXPECT_FALSE(value.isValid());
}

TEST_F(CommandLayerTest, ShortReplyListCachesOnlyWhatCame)
{
    startLinked();
    editor->setResponder(consoleResponder(editor.get(), 4));
    OVariant value;
    app->GetPrmVal("/Mixing/DCA:2/Fader:0/Level/MMS", value);
    EXPECT_EQ(value.toInt(), 20);
    app->GetPrmVal("/Mixing/DCA:3/Fader:0/Level/MMS", value);
    EXPECT_EQ(value.toInt(), 30);
    EXPECT_EQ(settledRequests().size(), 1);
    // Beyond the cached values: a new block request, and this reply lacks it.
    app->GetPrmVal("/Mixing/DCA:9/Fader:0/Level/MMS", value);
    EXPECT_FALSE(value.isValid());
    EXPECT_EQ(settledRequests().size(), 2);
}

// One block is cached: writes and loads leave it, another parameter replaces it.
TEST_F(CommandLayerTest, CachedBlockOutlivesWritesUntilAnotherParameterIsRead)
{
    startLinked();
    editor->setResponder(consoleResponder(editor.get()));
    OVariant value;
    app->GetPrmVal("/Mixing/Stereo:2/Fader:0/Level/MMS", value);
    EXPECT_EQ(value.toInt(), 20);
    EXPECT_TRUE(app->SetPrmVal("/Mixing/Stereo:2/Fader:0/Level/MMS", OVariant(-100)));
    EXPECT_TRUE(app->SetLoad("/x/other.KX9F"));
    app->GetPrmVal("/Mixing/Stereo:2/Fader:0/Level/MMS", value);
    EXPECT_EQ(value.toInt(), 20);
    app->GetPrmVal("/Mixing/Stereo:1/Fader:0/On/MMS", value);
    app->GetPrmVal("/Mixing/Stereo:2/Fader:0/Level/MMS", value);
    EXPECT_EQ(value.toInt(), 20);
    const QList<QJsonObject> requests = settledRequests();
    ASSERT_EQ(requests.size(), 4);
    EXPECT_EQ(requests[1].value("cmd").toString(), QString("set_load"));
    EXPECT_EQ(requests[3].value("cmd").toString(), QString("getData_prm_val"));
}

TEST_F(CommandLayerTest, TypedValuesFromReplies)
{
    startLinked();
    editor->setResponder(consoleResponder(editor.get(), -1, 256));
    OVariant value;
    app->GetPrmVal("/Mixing/Matrix:1/Fader:0/Level/MMS", value);
    EXPECT_EQ(value.type(), OVariant::Unsigned);
    EXPECT_EQ(value.toInt(), 10);

    editor->setResponder(consoleResponder(editor.get(), -1, 3));
    try {
        app->GetPrmVal("/Mixing/Matrix:1/Fader:0/On/MMS", value);
        ADD_FAILURE() << "unsupported type code accepted";
    } catch (ConverterException* e) {
        EXPECT_STREQ(e->what(), "convertQVariantToOVariant: Unsupported type.");
        delete e;
    }
}

// ---------------------------------------------------------------------------
// Parameter writes

TEST_F(CommandLayerTest, BlockWritesAreSentAtHighestChannel)
{
    startLinked();
    for (int ch = 0; ch <= 46; ++ch) {
        EXPECT_TRUE(app->SetPrmVal(QString("/Mixing/Mix:%1/Fader:0/Level/MMS").arg(ch), OVariant(ch)));
    }
    EXPECT_EQ(settledRequests().size(), 0);
    EXPECT_TRUE(app->SetPrmVal("/Mixing/Mix:47/Fader:0/Level/MMS", OVariant(47)));
    const QList<QJsonObject> requests = settledRequests();
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0].value("cmd").toString(), QString("setData_prm_val"));
    const QJsonArray list = requests[0].value("cmdinfo").toObject().value("list").toArray();
    ASSERT_EQ(list.size(), 48);
    for (int ch = 0; ch < 48; ++ch) {
        const QJsonObject e = list.at(ch).toObject();
        EXPECT_EQ(e.value("prmAddr").toString(), QString("/Mixing/Mix:%1/Fader:0/Level/MMS").arg(ch));
        EXPECT_EQ(e.value("prmValue").toInt(-1), ch);
    }

    // The batch was emptied: the next round starts again, and "ng" is reported.
    refuseAll();
    EXPECT_TRUE(app->SetPrmVal("/Mixing/Mix:46/Fader:0/Level/MMS", OVariant("x", 10)));
    EXPECT_FALSE(app->SetPrmVal("/Mixing/Mix:47/Fader:0/Level/MMS", OVariant(1)));
    const QList<QJsonObject> again = settledRequests();
    ASSERT_EQ(again.size(), 2);
    EXPECT_EQ(again[1].value("cmdinfo").toObject().value("list").toArray().size(), 2);
}

TEST_F(CommandLayerTest, BatchIsSharedAcrossBlocks)
{
    startLinked();
    EXPECT_TRUE(app->SetPrmVal("/Mixing/InputChannel:0/Fader:0/Level/MMS", OVariant(1)));
    EXPECT_TRUE(app->SetPrmVal("/Mixing/DCA:0/Name/MMS", OVariant("Vox", 10)));
    EXPECT_TRUE(app->SetPrmVal("/Mixing/Stereo:3/Fader:0/Level/MMS", OVariant(3)));
    const QList<QJsonObject> requests = settledRequests();
    ASSERT_EQ(requests.size(), 1);
    const QJsonArray list = requests[0].value("cmdinfo").toObject().value("list").toArray();
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list.at(0).toObject().value("prmAddr").toString(), QString("/Mixing/InputChannel:0/Fader:0/Level/MMS"));
    EXPECT_EQ(list.at(1).toObject().value("prmValue").toString(), QString("Vox"));
    EXPECT_EQ(list.at(2).toObject().value("prmValue").toInt(), 3);
}

TEST_F(CommandLayerTest, RealAndUnsignedWritesAreRefused)
{
    startLinked();
    OVariant real;
    real = 0.5f;
    OVariant unsignedValue;
    unsignedValue = 5u;
    EXPECT_FALSE(app->SetPrmVal("/Mixing/MuteGroup:1/On/MMS", real));
    EXPECT_FALSE(app->SetPrmVal("/Mixing/MuteGroup:1/On/MMS", unsignedValue));
    EXPECT_FALSE(app->SetPrmVal("/Mixing/Mix:47/Fader:0/Level/MMS", unsignedValue));
    EXPECT_FALSE(app->SetPrmVal("/Mixing/Mix:47/Fader:0/Level/MMS", OVariant()));
    EXPECT_EQ(settledRequests().size(), 0);
    // Refused values do not join the batch either.
    EXPECT_TRUE(app->SetPrmVal("/Mixing/Stereo:3/Fader:0/Level/MMS", OVariant(3)));
    const QList<QJsonObject> requests = settledRequests();
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0].value("cmdinfo").toObject().value("list").toArray().size(), 1);
}

// ---------------------------------------------------------------------------
// Batched mode: one pending list, flushed before anything that could see it

class BatchedLayerTest : public CommandLayerTest
{
protected:
    void SetUp() override
    {
        CommandLayerTest::SetUp();
        LinkTimings t = testTimings();
        t.shortLimit = 400;   // for the replies that never come
        startLinked(t, QString());   // no key: the default mode
        ASSERT_EQ(app->wireMode(), WireMode::Batched);
        app->setWriteRefusalHandler([this](const QString& address, const QVariant& value, const QString&) {
            refused << address + "=" + value.toString();
        });
    }

    static QStringList addressesOf(const QJsonObject& request)
    {
        QStringList out;
        for (const QJsonValue& e : request.value("cmdinfo").toObject().value("list").toArray())
            out << e.toObject().value("prmAddr").toString();
        return out;
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
    EXPECT_EQ(requests[0].value("cmd").toString(), QString("setData_prm_val"));
    EXPECT_EQ(addressesOf(requests[0]), addresses);
    EXPECT_EQ(requests[1].value("cmd").toString(), QString("set_scene_recall"));

    // Every other command flushes too; an empty list sends nothing.
    const std::function<void()> commands[] = {
        [&] { app->SetSceneStore("UserA", "1.00", "T", "C"); }, [&] { app->SetLoad("/x.KX9F"); },
        [&] { app->SetSave("/x.KX9F"); }, [&] { app->SetInitCurrent(); },
        [&] { QString t; app->GetSceneInfo("Title", "UserA", "1.00", t); },
        [&] { app->SetSceneInfo("Title", "UserA", "1.00", "x"); }, [&] { app->SetWindowVisibility("Hidden"); },
        [&] { OVariant v; app->GetPrmVal("/Mixing/MuteGroup:0/Name/MMS", v); }, [&] { app->flushWrites(); }};
    for (const auto& command : commands) {
        const int before = settledRequests().size();
        app->SetPrmVal("/Mixing/DCA:1/Fader:0/Level/MMS", OVariant(1));
        command();
        const QList<QJsonObject> after = settledRequests();
        ASSERT_GE(after.size(), before + 1);
        EXPECT_EQ(after[before].value("cmd").toString(), QString("setData_prm_val")) << int(&command - commands);
        EXPECT_EQ(app->flushWrites(), true);
        EXPECT_EQ(settledRequests().size(), after.size());
    }
}

TEST_F(BatchedLayerTest, TheSizeBoundSendsFullLists)
{
    const int total = MainApplication::MaxBatchEntries * 2 + 5;
    for (int i = 0; i < total; ++i)
        app->SetPrmVal(QString("/Mixing/InputChannel:%1/ToMix:%2/Level/MMS").arg(i % 120).arg(i / 120), OVariant(i));
    QList<QJsonObject> requests = settledRequests();
    ASSERT_EQ(requests.size(), 2);
    EXPECT_EQ(addressesOf(requests[0]).size(), MainApplication::MaxBatchEntries);
    EXPECT_TRUE(app->flushWrites());
    requests = settledRequests();
    ASSERT_EQ(requests.size(), 3);
    EXPECT_EQ(addressesOf(requests[2]).size(), 5);
}

TEST_F(BatchedLayerTest, ARefusedListIsResentUntilOnlyTheRefusedWritesAreLeft)
{
    // The editor refuses any request that carries a "bad" address, as a
    // console refuses a list for one bad entry.
    editor->setResponder([peer = editor.get()](const QJsonObject& r) {
        const bool bad = QJsonDocument(r).toJson().contains("/bad");
        return QList<QByteArray>{peer->reply(r, bad ? "ng" : "ok")};
    });
    for (int i = 0; i < 100; ++i)
        app->SetPrmVal(QString("/Mixing/Mix:%1/%2/MMS").arg(i % 48).arg(i == 17 || i == 60 ? "bad" : "Level"), OVariant(i));
    EXPECT_FALSE(app->flushWrites());
    EXPECT_EQ(refused, (QStringList{"/Mixing/Mix:17/bad/MMS=17", "/Mixing/Mix:12/bad/MMS=60"}));

    // What landed is every other write, once, in the original order.
    QStringList landed;
    int commands = 0;
    for (const QJsonObject& r : settledRequests()) {
        ++commands;
        if (r.value("cmd").toString() == "set_prm_val") {
            const QString address = r.value("cmdinfo").toObject().value("info").toObject().value("prmAddr").toString();
            if (!address.contains("bad"))
                landed << address;
        } else if (!QJsonDocument(r).toJson().contains("/bad")) {
            landed << addressesOf(r);
        }
    }
    ASSERT_EQ(landed.size(), 98);
    for (int i = 0, j = 0; i < 100; ++i) {
        if (i != 17 && i != 60)
            EXPECT_EQ(landed[j++], QString("/Mixing/Mix:%1/Level/MMS").arg(i % 48));
    }
    EXPECT_LT(commands, 30);   // halving, not one command per write
}

TEST_F(BatchedLayerTest, AListWithoutAnswerIsNotResent)
{
    editor->setResponder([](const QJsonObject&) { return QList<QByteArray>{}; });
    app->SetPrmVal("/Mixing/Mix:1/Fader:0/Level/MMS", OVariant(1));
    app->SetPrmVal("/Mixing/Mix:2/Fader:0/Level/MMS", OVariant(2));
    EXPECT_FALSE(app->flushWrites());
    EXPECT_EQ(refused.size(), 2);
    EXPECT_EQ(settledRequests().size(), 1);
}

TEST_F(BatchedLayerTest, ReadsNeverAnswerAValueOlderThanAWriteOrMemoryChange)
{
    editor->setResponder(consoleResponder(editor.get()));
    const auto reads = [&] {
        int n = 0;
        for (const QJsonObject& r : settledRequests())
            n += r.value("cmd").toString().startsWith("get") && r.value("cmd").toString().endsWith("prm_val");
        return n;
    };
    OVariant value;
    app->GetPrmVal("/FX/FX:3/Param:0/Bank:0/Value:2/MMS/Tremolo", value);
    app->GetPrmVal("/FX/FX:4/Param:0/Bank:0/Value:2/MMS/Tremolo", value);
    app->GetPrmVal("/Mixing/InputChannel:3/Dynamics:0/Bank:0/Type/MMS", value);
    app->GetPrmVal("/Mixing/InputChannel:3/Dynamics:0/Bank:0/Type/MMS", value);
    EXPECT_EQ(reads(), 2);   // a block and a single read, each cached

    // A write to another block keeps them; one to any spelling of a value of
    // the block drops the block, and the next read sends the write first.
    app->SetPrmVal("/FX/FX:3/Param:0/Bank:0/Value:3", OVariant(0));
    app->GetPrmVal("/FX/FX:4/Param:0/Bank:0/Value:2/MMS/Tremolo", value);
    EXPECT_EQ(reads(), 2);
    app->SetPrmVal("/FX/FX:3/Param:0/Bank:0/Value:2", OVariant(0));
    app->GetPrmVal("/FX/FX:4/Param:0/Bank:0/Value:2/MMS/Tremolo", value);
    EXPECT_EQ(reads(), 3);
    app->SetPrmVal("/Mixing/InputChannel:3/Dynamics:0/Bank:0/Type", OVariant(0));
    app->GetPrmVal("/Mixing/InputChannel:3/Dynamics:0/Bank:0/Type/MMS", value);
    EXPECT_EQ(reads(), 4);
    const QList<QJsonObject> requests = settledRequests();
    EXPECT_EQ(requests[requests.size() - 2].value("cmd").toString(), QString("setData_prm_val"));

    // Recall, store, load and reset forget everything; saving does not.
    const std::function<void()> changes[] = {[&] { app->SetSceneRecall("UserA", "1.00"); },
                                             [&] { app->SetSceneStore("UserA", "1.00", "", ""); },
                                             [&] { app->SetLoad("/x.KX9F"); }, [&] { app->SetInitCurrent(); }};
    for (const auto& change : changes) {
        const int before = reads();
        app->SetSave("/x.KX9F");
        app->GetPrmVal("/FX/FX:4/Param:0/Bank:0/Value:2/MMS/Tremolo", value);
        EXPECT_EQ(reads(), before);
        change();
        app->GetPrmVal("/FX/FX:4/Param:0/Bank:0/Value:2/MMS/Tremolo", value);
        app->GetPrmVal("/Mixing/InputChannel:3/Dynamics:0/Bank:0/Type/MMS", value);
        EXPECT_EQ(reads(), before + 2) << int(&change - changes);
    }

    // A command without an answer: the editor may have lost everything.
    editor->setResponder([](const QJsonObject&) { return QList<QByteArray>{}; });
    QString title;
    app->GetSceneInfo("Title", "UserA", "1.00", title);
    editor->setResponder(consoleResponder(editor.get()));
    const int before = reads();
    app->GetPrmVal("/FX/FX:4/Param:0/Bank:0/Value:2/MMS/Tremolo", value);
    EXPECT_EQ(value.toInt(), 40);
    EXPECT_EQ(reads(), before + 1);
}

} // namespace
