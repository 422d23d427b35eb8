// The process server against a scripted peer and a real child process.
#include "link/ProcessManager.h"
#include "link/ProcessServer.h"
#include "link/ProcessTcpSocket.h"

#include "EditorScript.h"
#include "QtPrinters.h"
#include "RecordingObserver.h"
#include "ScriptedEditor.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QLoggingCategory>
#include <QMetaMethod>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QUuid>

#include <memory>

namespace {

class ProcessServerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        savedCwd = QDir::currentPath();
        script = writeEditorScript(dir.path());
        ASSERT_FALSE(script.isEmpty());
        server = std::make_unique<ProcessServer>(serverName);
        ASSERT_NE(server->port(), 0);
        server->addObserver(&observer);
    }

    void TearDown() override
    {
        server.reset();
        QDir::setCurrent(savedCwd);
    }

    // Starts the script for `id` and waits until it has run.
    void start(const QString& id)
    {
        QFile::remove(QDir(dir.path()).absoluteFilePath("args.txt"));
        ASSERT_TRUE(server->createProcess(id, script, dir.path(), {}));
        ASSERT_TRUE(spinUntil([&] { return !readEditorArgs(dir.path()).isEmpty(); }));
    }

    // A connected peer that announced `id`.
    std::unique_ptr<ScriptedEditor> peer(const QString& id)
    {
        auto editor = std::make_unique<ScriptedEditor>();
        EXPECT_TRUE(editor->connectTo(server->port()));
        editor->announce(id);
        const QString expected = "created " + id;
        EXPECT_TRUE(spinUntil([&] { return observer.events.contains(expected); }));
        return editor;
    }

    QTemporaryDir dir;
    QString savedCwd;
    QString script;
    const QString serverName = QUuid::createUuid().toString();
    RecordingObserver observer;
    std::unique_ptr<ProcessServer> server;
};

// Declared signals or slots of a class itself, in declaration order.
QStringList ownMethods(const QMetaObject& meta, QMetaMethod::MethodType type)
{
    QStringList names;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        if (meta.method(i).methodType() == type)
            names << QString::fromLatin1(meta.method(i).methodSignature());
    }
    return names;
}

TEST(LinkMetaObjects, NamesCastsAndMethodOrder)
{
    ProcessServer server("{s}");
    QObject* serverObject = &server;
    EXPECT_EQ(qobject_cast<IProcessServer*>(serverObject), static_cast<IProcessServer*>(&server));
    EXPECT_NE(serverObject->qt_metacast("com.processServer.IProcessServer/1.0"), nullptr);
    EXPECT_NE(serverObject->qt_metacast("ProcessServer"), nullptr);
    EXPECT_NE(serverObject->qt_metacast("IProcessServer"), nullptr);
    EXPECT_EQ(server.metaObject()->className(), QByteArray("ProcessServer"));
    EXPECT_EQ(ownMethods(ProcessServer::staticMetaObject, QMetaMethod::Slot),
              (QStringList{"connected()", "disconnected()", "receivedData(QByteArray)"}));

    ProcessManager manager;
    QObject* managerObject = &manager;
    EXPECT_NE(managerObject->qt_metacast("IProcessServerObserver"), nullptr);
    EXPECT_NE(managerObject->qt_metacast("com.processServer.IProcessServerObserver/1.0"), nullptr);
    EXPECT_EQ(qobject_cast<IProcessServer*>(managerObject), nullptr);
    EXPECT_EQ(ownMethods(ProcessManager::staticMetaObject, QMetaMethod::Signal),
              (QStringList{"processCreated(QString)", "processDestroyed(QString)",
                           "processReplyReceived(QString,QString,QString,QVariantMap,QString,ulong)",
                           "processNotifyReceived(QString,QString,QVariantList)"}));

    EXPECT_EQ(ownMethods(ProcessTcpSocket::staticMetaObject, QMetaMethod::Signal),
              (QStringList{"connected()", "disconnected()", "receivedData(QByteArray)"}));
    EXPECT_EQ(ownMethods(ProcessTcpSocket::staticMetaObject, QMetaMethod::Slot), QStringList{"received()"});
}

TEST_F(ProcessServerTest, StartsProgramWithCommandLineInItsDirectory)
{
    const QString id = QUuid::createUuid().toString();
    const QVariantMap extra{{"zeta", "last"}, {"alpha", 1}};
    ASSERT_TRUE(server->createProcess(id, script, "/some/work dir", extra));
    // The program's directory is current now; restoring it is the caller's job.
    EXPECT_EQ(QFileInfo(QDir::currentPath()).canonicalFilePath(), QFileInfo(dir.path()).canonicalFilePath());

    ASSERT_TRUE(spinUntil([&] { return !readEditorArgs(dir.path()).isEmpty(); }));
    const QStringList args = readEditorArgs(dir.path());
    ASSERT_EQ(args.size(), 8);
    EXPECT_EQ(QFileInfo(args.at(0)).canonicalFilePath(), QFileInfo(dir.path()).canonicalFilePath());
    EXPECT_EQ(args.mid(1), (QStringList{"-mKX9C", "uid=" + id, "work=/some/work dir",
                                        "port=" + QString::number(server->port()), "appname=Plaxbridge",
                                        "alpha=1", "zeta=last"}));
}

TEST_F(ProcessServerTest, RefusesBadStarts)
{
    EXPECT_FALSE(server->createProcess("", script, dir.path(), {}));
    EXPECT_FALSE(server->createProcess("{a}", "", dir.path(), {}));
    EXPECT_FALSE(server->createProcess("{a}", dir.filePath("missing.sh"), dir.path(), {}));
    QThread::msleep(200);
    EXPECT_TRUE(readEditorArgs(dir.path()).isEmpty());

    start("{a}");
    auto editor = peer("{a}");
    QFile::remove(dir.filePath("args.txt"));
    EXPECT_FALSE(server->createProcess("{a}", script, dir.path(), {}));
    QThread::msleep(200);
    EXPECT_TRUE(readEditorArgs(dir.path()).isEmpty());
}

TEST_F(ProcessServerTest, RequestsAndAbortsReachOnlyAnnouncedDevices)
{
    EXPECT_FALSE(server->sendAbort("{dev}", "{r}"));
    start("{dev}");
    ScriptedEditor editor;
    ASSERT_TRUE(editor.connectTo(server->port()));
    // Connected but not announced: nothing can be sent yet.
    EXPECT_FALSE(server->sendRequest("{dev}", "{r0}", "get_prm_val", {}));
    editor.announce("{dev}");
    ASSERT_TRUE(spinUntil([&] { return observer.events.contains("created {dev}"); }));

    EXPECT_FALSE(server->sendRequest("{dev}", "{r1}", "", {}));
    EXPECT_FALSE(server->sendRequest("{other}", "{r1}", "get_prm_val", {}));
    EXPECT_TRUE(server->sendRequest("{dev}", "{r1}", "get_prm_val", {{"info", QVariantMap{{"prmAddr", "/X:1"}}}}));
    ASSERT_TRUE(spinUntil([&] { return editor.requestCount() >= 1; }));
    QThread::msleep(50);
    QCoreApplication::processEvents();
    const QList<QJsonObject> requests = editor.requests();
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0].value("from").toString(), serverName);
    EXPECT_EQ(requests[0].value("to").toString(), QString("{dev}"));
    EXPECT_EQ(requests[0].value("reqid").toString(), QString("{r1}"));
    EXPECT_EQ(requests[0].value("cmd").toString(), QString("get_prm_val"));
    EXPECT_EQ(requests[0].value("cmdinfo").toObject().value("info").toObject().value("prmAddr").toString(),
              QString("/X:1"));

    EXPECT_FALSE(server->sendAbort("{dev}", ""));
    EXPECT_TRUE(server->sendAbort("{dev}", "{r}"));
    ASSERT_TRUE(spinUntil([&] { return editor.lines().size() == 2; }));
    EXPECT_EQ(editor.lines().last(), QByteArray("{\"abort\":{\"from\":\"" + serverName.toUtf8() + "\",\"reqid\":\"{r}\"}}"));
}

TEST_F(ProcessServerTest, RepliesAndNotificationsReachObservers)
{
    QObject bystander;   // no observer interface: skipped
    server->addObserver(&bystander);
    server->addObserver(&observer);   // already listed: called once
    start("{dev}");
    auto editor = peer("{dev}");
    observer.events.clear();

    editor->sendRaw(R"({"reply":{"from":"{dev}","to":"x","reqid":"{r}","cmd":"get_scene_info","result":"ok",)"
                    R"("progress":"7","cmdinfo":{"info":{"prmValue":"Title"}}}})" "\n"
                    "not json\n"
                    R"({"request":{"from":"{dev}"}})" "\n"
                    R"({"notify":{"from":"{dev}","cmd":"MMS Readied","cmdinfo":{"k":"v"}}})" "\n");
    ASSERT_TRUE(spinUntil([&] { return observer.events.size() >= 2; }));
    QThread::msleep(50);
    QCoreApplication::processEvents();
    EXPECT_EQ(observer.events, (QStringList{"reply {dev} {r} get_scene_info ok 7", "notify {dev} MMS Readied"}));
    ASSERT_EQ(observer.replyData.size(), 1);
    EXPECT_EQ(observer.replyData[0].value("info").toMap().value("prmValue"), QVariant(QString("Title")));
    ASSERT_EQ(observer.notifyData.size(), 1);
    ASSERT_EQ(observer.notifyData[0].size(), 1);
    EXPECT_EQ(observer.notifyData[0][0].toMap().value("k"), QVariant(QString("v")));

    server->removeObserver(&observer);
    editor->notify("MMS Readied");
    QThread::msleep(100);
    QCoreApplication::processEvents();
    EXPECT_EQ(observer.events.size(), 2);
}

// Only a registered device's closing is reported; every closed connection's
// objects are deleted.
// Only a registered device's closing is reported, whether it leaves or
// destroyProcess closes it; every closed connection's objects are deleted.
TEST_F(ProcessServerTest, ClosingIsReportedOnlyForTheRegisteredDevice)
{
    const auto liveSockets = [&] {
        return server->findChildren<ProcessTcpSocket*>().size() + server->findChildren<QTcpSocket*>().size();
    };
    EXPECT_FALSE(server->destroyProcess(""));
    start("{dev}");
    ScriptedEditor silent;
    ASSERT_TRUE(silent.connectTo(server->port()));
    ASSERT_TRUE(spinUntil([&] { return liveSockets() == 2; }));
    silent.close();
    ASSERT_TRUE(spinUntil([&] { return liveSockets() == 0; }));
    EXPECT_TRUE(observer.events.isEmpty());

    auto editor = peer("{dev}");
    auto usurper = std::make_unique<ScriptedEditor>();
    ASSERT_TRUE(usurper->connectTo(server->port()));
    usurper->announce("{dev}");
    ASSERT_TRUE(spinUntil([&] { return observer.events.count("created {dev}") == 2; }));
    // The replaced connection no longer stands for the device.
    editor->close();
    ASSERT_TRUE(spinUntil([&] { return liveSockets() == 2; }));
    EXPECT_EQ(observer.events.count("destroyed {dev}"), 0);
    EXPECT_TRUE(server->sendRequest("{dev}", "{r}", "set_load", {}));
    ASSERT_TRUE(spinUntil([&] { return usurper->requestCount() == 1; }));

    EXPECT_TRUE(server->destroyProcess("{dev}"));
    ASSERT_TRUE(spinUntil([&] { return observer.events.contains("destroyed {dev}"); }));
    ASSERT_TRUE(spinUntil([&] { return !usurper->isConnected(); }));
    // Called from no event loop here, unlike on the link's thread.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(liveSockets(), 0);
    EXPECT_FALSE(server->sendRequest("{dev}", "{r}", "get_prm_val", {}));
    EXPECT_FALSE(server->destroyProcess("{dev}"));
}

TEST_F(ProcessServerTest, EachStartAcceptsConnectionsOnce)
{
    start("{a}");
    start("{b}");
    auto first = peer("{a}");
    auto second = peer("{b}");
    QThread::msleep(50);
    QCoreApplication::processEvents();
    EXPECT_EQ(observer.events, (QStringList{"created {a}", "created {b}"}));
    EXPECT_TRUE(server->sendRequest("{a}", "{r1}", "set_load", {}));
    EXPECT_TRUE(server->sendRequest("{b}", "{r2}", "set_save", {}));
    ASSERT_TRUE(spinUntil([&] { return first->requestCount() == 1 && second->requestCount() == 1; }));
    EXPECT_EQ(first->requests()[0].value("cmd").toString(), QString("set_load"));
    EXPECT_EQ(second->requests()[0].value("cmd").toString(), QString("set_save"));
}

QMutex logMutex;
QStringList requestLog;

void captureRequests(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtDebugMsg && context.category && QByteArray(context.category) == "qora.link.request") {
        QMutexLocker locker(&logMutex);
        requestLog << message;
    }
}

TEST_F(ProcessServerTest, EachRequestWrittenIsLoggedInItsCategory)
{
    start("{dev}");
    auto editor = peer("{dev}");
    QLoggingCategory::setFilterRules("qora.link.request.debug=true");
    const QtMessageHandler previous = qInstallMessageHandler(captureRequests);
    server->sendRequest("{dev}", "{r1}", "set_load", {});
    server->sendRequest("{nobody}", "{r2}", "set_save", {});
    server->sendRequest("{dev}", "{r3}", "get_prm_val", {});
    server->sendAbort("{dev}", "{r3}");
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QString());
    QMutexLocker locker(&logMutex);
    EXPECT_EQ(requestLog, (QStringList{"set_load", "get_prm_val"}));
    requestLog.clear();
}

} // namespace

