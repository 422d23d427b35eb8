// The built qora-editor as a child process, driven through a plain socket:
// what only the program shows (the link's framing and envelope, its command
// line, the fault options that the plug-in's tests do not already pin down).
// The commands themselves are tested on the command processor.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

namespace {

const char kFader[] = "/Mixing/InputChannel:5/Fader/Level/MMS";

QString editorPath()
{
    return qEnvironmentVariable("QORA_BIN_DIR") + "/qora-editor";
}

QJsonObject info(const QJsonObject& fields)
{
    return QJsonObject{{"info", fields}};
}

QJsonObject addr(const QString& address, const QJsonValue& value = QJsonValue::Undefined)
{
    return value.isUndefined() ? info({{"prmAddr", address}}) : info({{"prmAddr", address}, {"prmValue", value}});
}

// The plug-in's side of the link, reduced to a listening socket and blocking
// reads: starts the editor with the plug-in's command line (and --log into
// its work directory) and talks to it line by line.
class EditorPeer {
public:
    EditorPeer() { server.listen(QHostAddress::LocalHost, 0); }
    ~EditorPeer()
    {
        process.kill();
        process.waitForFinished(5000);
    }

    // Starts the editor and accepts its connection; `environment` goes into
    // QORA_EDITOR_OPTIONS. With `ready`, also reads "connected" and "MMS Readied".
    bool start(const QStringList& extra = {}, bool ready = true, const QString& environment = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QORA_EDITOR_OPTIONS", environment);
        process.setProcessEnvironment(env);
        process.start(editorPath(), QStringList{"-mKX9C", "uid=" + uid, "work=" + dir.path(),
                                                "port=" + QString::number(server.serverPort()),
                                                "appname=Plaxbridge", "--log", dir.filePath("requests.log")} + extra);
        if (!process.waitForStarted(5000) || !server.waitForNewConnection(10000))
            return false;
        socket = server.nextPendingConnection();
        return !ready || (readMessage().contains("connected") && readMessage().contains("notify"));
    }

    // One received line without its line feed; null on time-out. `reads`
    // counts the arrivals of data.
    QByteArray readLine(int ms = 5000)
    {
        QElapsedTimer timer;
        timer.start();
        for (; !socket->canReadLine(); ++reads) {
            if (timer.elapsed() >= ms || !socket->waitForReadyRead(int(ms - timer.elapsed())))
                return QByteArray();
        }
        return socket->readLine().chopped(1);   // an empty line is not null
    }
    QJsonObject readMessage(int ms = 5000) { return QJsonDocument::fromJson(readLine(ms)).object(); }
    void writeRaw(const QByteArray& bytes)
    {
        socket->write(bytes);
        socket->waitForBytesWritten(1000);
    }
    QByteArray request(const QString& reqid, const QString& cmd, const QJsonObject& cmdinfo,
                       const QString& to = QString()) const
    {
        const QJsonObject inner{{"from", "host"}, {"to", to.isEmpty() ? uid : to}, {"reqid", reqid},
                                {"cmd", cmd}, {"cmdinfo", cmdinfo}};
        return QJsonDocument(QJsonObject{{"request", inner}}).toJson(QJsonDocument::Compact) + '\n';
    }
    // The replies up to and including the final one ("ok" or "ng"); stops
    // early on time-out.
    QList<QJsonObject> replies(int ms = 5000)
    {
        QList<QJsonObject> out;
        QElapsedTimer timer;
        timer.start();
        for (QByteArray line; timer.elapsed() < ms && !(line = readLine(int(ms - timer.elapsed()))).isNull();) {
            const QJsonObject reply = QJsonDocument::fromJson(line).object()["reply"].toObject();
            if (!reply.isEmpty())
                out.append(reply);
            if (reply["result"] == "ok" || reply["result"] == "ng")
                break;
        }
        return out;
    }
    // Sends a request; its final reply, or an empty object.
    QJsonObject call(const QString& cmd, const QJsonObject& cmdinfo, const QString& reqid = "r", int ms = 5000)
    {
        writeRaw(request(reqid, cmd, cmdinfo));
        const QList<QJsonObject> all = replies(ms);
        return all.isEmpty() ? QJsonObject() : all.last();
    }
    static QJsonValue valueOf(const QJsonObject& reply)
    {
        return reply["cmdinfo"].toObject()["info"].toObject()["prmValue"];
    }
    // The editor's exit code once it ended; -1: crashed or still running.
    int exitCode()
    {
        process.waitForFinished(5000);
        return process.state() == QProcess::NotRunning && process.exitStatus() == QProcess::NormalExit
                   ? process.exitCode() : -1;
    }
    QByteArray log(const QString& name = "requests.log") const
    {
        QFile f(dir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    const QString uid = "{00000000-0000-0000-0000-0000000000a1}";
    QTemporaryDir dir;
    QProcess process;
    QTcpServer server;
    QTcpSocket* socket = nullptr;
    int reads = 0;
};

} // namespace

TEST(EditorProcessTest, AnnouncesItselfRepliesInItsEnvelopeAndLogsRequests)
{
    EditorPeer peer;
    ASSERT_TRUE(peer.start({}, false));
    const QByteArray first = peer.readLine();
    EXPECT_EQ(first, "{\"connected\":{\"from\":\"" + peer.uid.toUtf8() + "\"}}");   // compact
    EXPECT_EQ(peer.readMessage(), QJsonObject({{"notify", QJsonObject{{"from", peer.uid}, {"cmd", "MMS Readied"},
                                                                      {"cmdinfo", QJsonObject()}}}}));
    peer.writeRaw(peer.request("{r1}", "get_prm_val", addr(kFader)));
    EXPECT_EQ(peer.replies(), QList<QJsonObject>({QJsonObject{
                                  {"from", peer.uid}, {"to", "host"}, {"reqid", "{r1}"}, {"cmd", "get_prm_val"},
                                  {"result", "ok"}, {"progress", "100"},
                                  {"cmdinfo", info({{"prmValue", 0}, {"prmType", 4}})}}}));
    EXPECT_EQ(peer.log(), peer.request("{r1}", "get_prm_val", addr(kFader)));

    // A long command reports progress first; a request to another device is refused.
    peer.writeRaw(peer.request("{r2}", "set_save", info({{"path", "s.KX9F"}})));
    const QList<QJsonObject> save = peer.replies();
    ASSERT_EQ(save.size(), 2);
    EXPECT_EQ(save[0]["result"], "progress");
    peer.writeRaw(peer.request("{r3}", "get_prm_val", addr(kFader), "{00000000-0000-0000-0000-000000000001}"));
    EXPECT_EQ(peer.replies().value(0)["result"], "ng");
}

TEST(EditorProcessTest, CommandLineErrorsAndExitCodes)
{
    const QString work = QDir::tempPath();
    QTcpServer probe;   // a port nobody listens on
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const QString closed = QString::number(probe.serverPort());
    probe.close();
    const struct {
        QStringList arguments;
        QString environment;
        int exitCode;
        QString message;
    } rows[] = {
        {{}, {}, 1, "-mKX9C"},
        {{"-mKX9C", "uid=a", "work=/no/such/dir", "port=1", "appname=x"}, {}, 1, "/no/such/dir"},
        {{"-mQL5", "uid=a", "work=" + work, "port=1", "appname=x"}, {}, 1, "QL5"},
        {{"-mKX9C", "uid=a", "work=" + work, "port=1", "appname=x", "--initial=/no/such.KX9F"}, {}, 1, "/no/such.KX9F"},
        {{"-mKX9C", "uid=a", "work=" + work, "port=1", "appname=x"}, "--delay-ms=soon", 1, "--delay-ms"},
        {{"-mKX9C", "uid=a", "work=" + work, "port=" + closed, "appname=x"}, {}, 2, closed},
        {{"--help"}, {}, 0, "QORA_EDITOR_OPTIONS"},
    };
    for (const auto& row : rows) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QORA_EDITOR_OPTIONS", row.environment);
        p.setProcessEnvironment(env);
        p.start(editorPath(), row.arguments);
        ASSERT_TRUE(p.waitForFinished(10000)) << row.arguments.join(' ').toStdString();
        EXPECT_EQ(p.exitCode(), row.exitCode) << row.arguments.join(' ').toStdString();
        EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError() + p.readAllStandardOutput()).contains(row.message))
            << row.message.toStdString();
    }
}

TEST(EditorProcessTest, InitialFileIsLoadedBeforeReady)
{
    EditorPeer first;
    ASSERT_TRUE(first.start());
    ASSERT_EQ(first.call("set_prm_val", addr(kFader, -77))["result"], "ok");
    ASSERT_EQ(first.call("set_save", info({{"path", "initial.KX9F"}}))["result"], "ok");

    EditorPeer second;
    ASSERT_TRUE(second.start({"--initial=" + first.dir.filePath("initial.KX9F")}));
    EXPECT_EQ(EditorPeer::valueOf(second.call("get_prm_val", addr(kFader))), -77);
}

TEST(EditorProcessTest, DelayedRepliesComeLateAndInOrderAndAbortedOnesNever)
{
    EditorPeer peer;
    ASSERT_TRUE(peer.start({"--delay-ms=250"}));
    QElapsedTimer timer;
    timer.start();
    peer.writeRaw(peer.request("a", "get_prm_val", addr(kFader)) + peer.request("b", "set_prm_val", addr(kFader, 3))
                  + peer.request("c", "get_prm_val", addr(kFader)) + "{\"abort\":{\"from\":\"host\",\"reqid\":\"c\"}}\n");
    EXPECT_EQ(peer.replies().value(0)["reqid"], "a");
    EXPECT_GE(timer.elapsed(), 250);
    EXPECT_EQ(peer.replies().value(0)["reqid"], "b");
    EXPECT_GE(timer.elapsed(), 500);
    EXPECT_TRUE(peer.replies(800).isEmpty());   // the aborted one
    EXPECT_EQ(EditorPeer::valueOf(peer.call("get_prm_val", addr(kFader))), 3);
}

TEST(EditorProcessTest, ReadinessCanBeWithheldOrDelayed)
{
    EditorPeer never;
    ASSERT_TRUE(never.start({"--no-ready"}, false));
    EXPECT_TRUE(never.readMessage().contains("connected"));
    EXPECT_TRUE(never.readLine(700).isNull());
    EXPECT_EQ(never.call("get_prm_val", addr(kFader))["result"], "ok");   // it serves commands all the same

    EditorPeer late;
    ASSERT_TRUE(late.start({"--ready-delay-ms=400"}, false));
    EXPECT_TRUE(late.readMessage().contains("connected"));
    QElapsedTimer timer;
    timer.start();
    EXPECT_TRUE(late.readMessage().contains("notify"));
    EXPECT_GE(timer.elapsed(), 300);
}

// After n requests: --close-after answers the n-th and closes cleanly,
// --exit-after dies on it without answering; a peer that closes ends the
// editor; --drop-cmd never answers nor runs the command.
TEST(EditorProcessTest, SessionEndsAfterTheGivenRequestCountOrWhenThePeerCloses)
{
    struct Row { const char* option; int exitCode; int replies; };
    for (const Row& row : {Row{"--close-after=2", 0, 2}, Row{"--exit-after=2", 3, 0}, Row{"--drop-cmd=set_save", 0, 0}}) {
        SCOPED_TRACE(row.option);
        EditorPeer peer;
        ASSERT_TRUE(peer.start({row.option}));
        EXPECT_EQ(peer.call("set_prm_val", addr(kFader, 1))["result"], "ok");
        peer.writeRaw(peer.request("s", "set_save", info({{"path", "saved.KX9F"}})));
        EXPECT_EQ(peer.replies(row.replies ? 5000 : 800).size(), row.replies);
        EXPECT_EQ(QFile::exists(peer.dir.filePath("saved.KX9F")), row.replies > 0);
        EXPECT_EQ(peer.log().count('\n'), 2);
        peer.socket->disconnectFromHost();
        EXPECT_EQ(peer.exitCode(), row.exitCode);
    }
}

// Options from the environment add to the command line's: replies sent a
// byte at a time after a garbage line, a forced type and a second log.
TEST(EditorProcessTest, ByteByByteGarbageAndEnvironmentOptions)
{
    EditorPeer peer;
    ASSERT_TRUE(peer.start({"--byte-by-byte"}, true,
                           "--garbage-before-reply --force-type=128:Fader/Level   --log " + peer.dir.filePath("env.log")));
    peer.reads = 0;
    peer.writeRaw(peer.request("g", "get_prm_val", addr(kFader)));
    const QByteArray garbage = peer.readLine(10000);
    ASSERT_FALSE(garbage.isNull());
    EXPECT_TRUE(QJsonDocument::fromJson(garbage).isNull());
    const QList<QJsonObject> replies = peer.replies(10000);
    ASSERT_EQ(replies.size(), 1);
    EXPECT_EQ(replies[0]["cmdinfo"].toObject()["info"].toObject()["prmType"].toInt(), 128);
    EXPECT_GT(peer.reads, 5);
    EXPECT_TRUE(peer.log("env.log").contains("get_prm_val"));
}
