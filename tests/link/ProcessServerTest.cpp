// The process server against scripted peers and a real child process. Only
// devices it started (or was told to expect) are admitted: a "connected" with
// any other identifier closes that connection, and replies, notifications and
// closings count only from admitted connections.
#include "link/ProcessTcpSocket.h"

#include "EditorScript.h"
#include "QtPrinters.h"
#include "RecordingObserver.h"
#include "ScriptedEditor.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QHostAddress>
#include <QLoggingCategory>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QUuid>

#include <memory>
#include <vector>

namespace {

QByteArray replyLine(const QString& from, const QString& reqid)
{
    return QString(R"({"reply":{"from":"%1","to":"s","reqid":"%2","cmd":"get_scene_info","result":"ok","progress":"7",)"
                   R"("cmdinfo":{"info":{"prmValue":"Title"}}}})" "\n").arg(from, reqid).toUtf8();
}
QByteArray notifyLine(const QString& from)
{
    return QString(R"({"notify":{"from":"%1","cmd":"MMS Readied","cmdinfo":{"k":"v"}}})" "\n").arg(from).toUtf8();
}
QString canonical(const QString& path) { return QFileInfo(path).canonicalFilePath(); }
// Lets the stragglers arrive and the server's queued work run.
void settle() { QThread::msleep(50), QCoreApplication::processEvents(); }

QStringList requestLog;
void captureRequests(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtDebugMsg && QByteArray(context.category) == "qora.link.request")
        requestLog << message;
}

class ProcessServerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(server->port(), 0);
        server->addObserver(&observer);
    }

    // A connected peer that announced `id` (admitted first unless `admit` is
    // false) and was taken.
    std::unique_ptr<ScriptedEditor> peer(const QString& id, bool admit = true)
    {
        if (admit)
            server->expectDevice(id);
        const int before = observer.events.count("created " + id);
        auto editor = std::make_unique<ScriptedEditor>();
        EXPECT_TRUE(editor->connectTo(server->port()));
        editor->announce(id);
        EXPECT_TRUE(spinUntil([&] { return observer.events.count("created " + id) > before; }));
        return editor;
    }

    int liveSockets() const { return server->findChildren<ProcessTcpSocket*>().size() + server->findChildren<QTcpSocket*>().size(); }

    const QString serverName = QUuid::createUuid().toString();
    RecordingObserver observer;
    std::unique_ptr<AdmittingServer> server = std::make_unique<AdmittingServer>(serverName);
};

TEST_F(ProcessServerTest, StartsTheProgramInItsDirectoryAndAdmitsIt)
{
    QTemporaryDir dir;
    const QString script = writeEditorScript(dir.path());
    const QString savedCwd = QDir::currentPath();
    EXPECT_FALSE(server->createProcess("", script, dir.path(), {}));
    EXPECT_FALSE(server->createProcess("{a}", "", dir.path(), {}));
    EXPECT_FALSE(server->createProcess("{a}", dir.filePath("missing.sh"), dir.path(), {}));
    ASSERT_TRUE(server->createProcess("{a}", script, "/some/work dir", {{"zeta", "last"}, {"alpha", 1}}));
    // The program's directory is current now; restoring it is the caller's job.
    EXPECT_EQ(canonical(QDir::currentPath()), canonical(dir.path()));
    QDir::setCurrent(savedCwd);
    ASSERT_TRUE(spinUntil([&] { return !readEditorArgs(dir.path()).isEmpty(); }));
    const QStringList args = readEditorArgs(dir.path());
    ASSERT_EQ(args.size(), 8);
    EXPECT_EQ(canonical(args.at(0)), canonical(dir.path()));
    EXPECT_EQ(args.mid(1), (QStringList{"-mKX9C", "uid={a}", "work=/some/work dir", "port=" + QString::number(server->port()),
                                        "appname=Plaxbridge", "alpha=1", "zeta=last"}));

    // The started device is admitted, and once connected not started again.
    auto editor = peer("{a}", false);
    QFile::remove(dir.filePath("args.txt"));
    EXPECT_FALSE(server->createProcess("{a}", script, dir.path(), {}));
    QThread::msleep(200);
    EXPECT_TRUE(readEditorArgs(dir.path()).isEmpty());
}

// The wire form of both envelopes, and one log line per request written.
TEST_F(ProcessServerTest, RequestsAndAbortsReachOnlyAnnouncedDevices)
{
    EXPECT_FALSE(server->sendAbort("{dev}", "{r}"));
    server->expectDevice("{dev}");
    ScriptedEditor editor;
    ASSERT_TRUE(editor.connectTo(server->port()));
    EXPECT_FALSE(server->sendRequest("{dev}", "{r0}", "get_prm_val", {}));   // not announced yet
    editor.announce("{dev}");
    ASSERT_TRUE(spinUntil([&] { return observer.events.contains("created {dev}"); }));

    QLoggingCategory::setFilterRules("qora.link.request.debug=true");
    const QtMessageHandler previous = qInstallMessageHandler(captureRequests);
    EXPECT_FALSE(server->sendRequest("{dev}", "{r1}", "", {}));
    EXPECT_FALSE(server->sendRequest("{other}", "{r1}", "set_save", {}));
    EXPECT_TRUE(server->sendRequest("{dev}", "{r1}", "get_prm_val", {{"info", QVariantMap{{"prmAddr", "/X:1"}}}}));
    EXPECT_FALSE(server->sendAbort("{dev}", ""));
    EXPECT_TRUE(server->sendAbort("{dev}", "{r}"));
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QString());
    EXPECT_EQ(requestLog, QStringList{"get_prm_val"});

    ASSERT_TRUE(spinUntil([&] { return editor.lines().size() == 2; }));
    const QByteArray from = serverName.toUtf8();
    EXPECT_EQ(editor.lines(), (QList<QByteArray>{R"({"request":{"cmd":"get_prm_val","cmdinfo":{"info":{"prmAddr":"/X:1"}},"from":")"
                                                 + from + R"(","reqid":"{r1}","to":"{dev}"}})",
                                                 R"({"abort":{"from":")" + from + R"(","reqid":"{r}"}})"}));
}

// Every listed observer hears each event once; an object without the
// observer interface is skipped, a removed observer hears nothing more.
TEST_F(ProcessServerTest, ObserversHearEachEventOnce)
{
    QObject bystander;
    server->addObserver(&bystander);
    server->addObserver(&observer);
    auto editor = peer("{dev}");
    editor->sendRaw(replyLine("{dev}", "{r}") + notifyLine("{dev}"));
    ASSERT_TRUE(spinUntil([&] { return observer.events.size() >= 3; }));
    server->removeObserver(&observer);
    editor->sendRaw(notifyLine("{dev}"));
    settle();
    EXPECT_EQ(observer.events, (QStringList{"created {dev}", "reply {dev} {r} get_scene_info ok 7", "notify {dev} MMS Readied"}));
}

// A refused announcement closes its own connection and nothing else; nothing
// a connection sends without an admitted announcement counts, not even in the
// same read.
TEST_F(ProcessServerTest, OnlyTheAdmittedConnectionCounts)
{
    const QString known = "{11111111-2222-3333-4444-555555555555}";
    auto editor = peer(known);
    const QByteArray refused[] = {
        R"({"connected":{"from":"{99999999-0000-0000-0000-000000000000}"}})" "\n",
        R"({"connected":{"from":7}})" "\n",
        R"({"connected":{}})" "\n",
        R"({"connected":{"from":"{bad}"}})" "\n" + replyLine(known, "{r}") + notifyLine(known),
    };
    for (const QByteArray& announcement : refused) {
        ScriptedEditor stray;
        ASSERT_TRUE(stray.connectTo(server->port()));
        stray.sendRaw(announcement);
        ASSERT_TRUE(spinUntil([&] { return !stray.isConnected(); })) << announcement.constData();
    }
    ScriptedEditor unannounced;
    ASSERT_TRUE(unannounced.connectTo(server->port()));
    unannounced.sendRaw(replyLine(known, "{forged}") + notifyLine(known));
    editor->sendRaw(replyLine(known, "{genuine}"));
    ASSERT_TRUE(spinUntil([&] { return observer.events.size() == 2; }));
    settle();
    EXPECT_EQ(observer.events, (QStringList{"created " + known, "reply " + known + " {genuine} get_scene_info ok 7"}));
    EXPECT_TRUE(unannounced.isConnected());
    EXPECT_FALSE(server->sendRequest("{99999999-0000-0000-0000-000000000000}", "{r}", "get_prm_val", {}));
}

// Only an admitted device's closing is reported, whether it leaves or
// destroyProcess closes it; every closed connection's objects are deleted and
// leave no entry behind, not even under a second identifier.
TEST_F(ProcessServerTest, ClosingIsReportedOnlyForTheAdmittedDevice)
{
    EXPECT_FALSE(server->destroyProcess(""));
    server->expectDevice("{a}");
    ScriptedEditor silent;
    ASSERT_TRUE(silent.connectTo(server->port()));
    ASSERT_TRUE(spinUntil([&] { return liveSockets() == 2; }));
    silent.close();
    ASSERT_TRUE(spinUntil([&] { return liveSockets() == 0; }));
    EXPECT_TRUE(observer.events.isEmpty());

    // A second connection takes the identifier over; the first one's closing
    // no longer stands for the device.
    auto editor = peer("{a}");
    auto usurper = peer("{a}");
    server->expectDevice("{b}");
    usurper->announce("{b}");
    ASSERT_TRUE(spinUntil([&] { return observer.events.contains("created {b}"); }));
    editor->close();
    ASSERT_TRUE(spinUntil([&] { return liveSockets() == 2; }));
    EXPECT_FALSE(observer.events.join(' ').contains("destroyed"));
    EXPECT_TRUE(server->sendRequest("{a}", "{r}", "set_load", {}));
    ASSERT_TRUE(spinUntil([&] { return usurper->requests().size() == 1; }));

    EXPECT_TRUE(server->destroyProcess("{a}"));
    ASSERT_TRUE(spinUntil([&] { return observer.events.contains("destroyed {a}"); }));
    ASSERT_TRUE(spinUntil([&] { return !usurper->isConnected(); }));
    // Called from no event loop here, unlike on the link's thread.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(liveSockets(), 0);
    EXPECT_EQ(observer.events.filter("destroyed").size(), 1);
    EXPECT_FALSE(server->sendRequest("{a}", "{r}", "get_prm_val", {}));
    EXPECT_FALSE(server->sendRequest("{b}", "{r}", "get_prm_val", {}));
    EXPECT_FALSE(server->destroyProcess("{a}"));

    // The identifier is accepted again afterwards.
    auto again = peer("{a}", false);
    again->sendRaw(replyLine("{a}", "{after}"));
    ASSERT_TRUE(spinUntil([&] { return !observer.events.filter("{after}").isEmpty(); }));
}

// Connections accepted before the start was known are still taken, even past
// the QTcpServer's pending limit, so the editor behind them gets through.
TEST_F(ProcessServerTest, ConnectionsBeforeTheStartDoNotHideTheEditor)
{
    std::vector<std::unique_ptr<QTcpSocket>> early(40);
    for (auto& socket : early) {
        socket = std::make_unique<QTcpSocket>();
        socket->connectToHost(QHostAddress::LocalHost, server->port());
        ASSERT_TRUE(socket->waitForConnected(2000));
    }
    settle();
    peer("{dev}");
}

} // namespace
