#include "EditorPeer.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QSettings>
#include <QTcpSocket>

namespace {

QJsonObject info(const QJsonObject& fields)
{
    return QJsonObject{{"info", fields}};
}

QJsonObject addr(const QString& address)
{
    return info({{"prmAddr", address}});
}

QJsonObject sceneCmd(const QString& number, const QJsonObject& more = {})
{
    QJsonObject o{{"prmSceneCategory", "UserA"}, {"prmSceneNumber", number}};
    for (auto it = more.begin(); it != more.end(); ++it)
        o.insert(it.key(), it.value());
    return info(o);
}

struct EditorRun {
    int code = -100;
    QString err;
    QString out;
};

EditorRun runEditor(const QStringList& args, const QString& env = QString())
{
    QProcess p;
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.remove("QORA_EDITOR_OPTIONS");
    if (!env.isEmpty())
        e.insert("QORA_EDITOR_OPTIONS", env);
    p.setProcessEnvironment(e);
    p.start(EditorPeer::editorPath(), args);
    EditorRun r;
    if (!p.waitForFinished(10000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.err = QString::fromUtf8(p.readAllStandardError());
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    return r;
}

const char kFader[] = "/Mixing/InputChannel:5/Fader/Level/MMS";

} // namespace

TEST(EditorProcessTest, AnnouncesItselfThenReportsReady)
{
    EditorPeer peer;
    ASSERT_TRUE(peer.start());
    ASSERT_TRUE(peer.accept());
    const QByteArray first = peer.readLine();
    EXPECT_EQ(QJsonDocument::fromJson(first).object(),
              QJsonObject({{"connected", QJsonObject{{"from", peer.uid}}}}));
    EXPECT_FALSE(first.contains(' '));  // compact
    EXPECT_EQ(peer.readMessage(),
              QJsonObject({{"notify", QJsonObject{{"from", peer.uid}, {"cmd", "MMS Readied"}, {"cmdinfo", QJsonObject()}}}}));
}

TEST(EditorProcessTest, RepliesCarryTheEnvelopeAndRequestsAreLogged)
{
    EditorPeer peer;
    ASSERT_TRUE(peer.startReady());
    const QString reqid = peer.send("get_prm_val", addr(kFader));
    const QList<QJsonObject> replies = peer.replies();
    ASSERT_EQ(replies.size(), 1);
    const QJsonObject r = replies[0];
    EXPECT_EQ(r["from"].toString(), peer.uid);
    EXPECT_EQ(r["to"].toString(), peer.serverName);
    EXPECT_EQ(r["reqid"].toString(), reqid);
    EXPECT_EQ(r["cmd"].toString(), "get_prm_val");
    EXPECT_EQ(r["result"].toString(), "ok");
    EXPECT_EQ(r["progress"].toString(), "100");
    EXPECT_TRUE(r["cmdinfo"].toObject()["info"].toObject()["prmValue"].isDouble());
    EXPECT_EQ(r["cmdinfo"].toObject()["info"].toObject()["prmType"].toInt(), 4);

    const QStringList log = peer.loggedLines();
    ASSERT_EQ(log.size(), 1);
    const QJsonObject logged = QJsonDocument::fromJson(log[0].toUtf8()).object()["request"].toObject();
    EXPECT_EQ(logged["reqid"].toString(), reqid);
    EXPECT_EQ(logged["cmdinfo"].toObject(), addr(kFader));

    // Addressed to another device: refused.
    peer.send("get_prm_val", addr(kFader), "{00000000-0000-0000-0000-000000000001}");
    EXPECT_EQ(peer.replies().value(0)["result"].toString(), "ng");
}

TEST(EditorProcessTest, BrokenAndSplitLinesAreHandled)
{
    EditorPeer peer;
    ASSERT_TRUE(peer.startReady());
    const QByteArray request = QJsonDocument(QJsonObject{{"request", QJsonObject{
        {"from", peer.serverName}, {"to", peer.uid}, {"reqid", "{r}"}, {"cmd", "get_prm_val"}, {"cmdinfo", addr(kFader)}}}})
                                   .toJson(QJsonDocument::Compact);
    peer.writeRaw("\n\nnot json at all\n{\"half\":\n" + request.left(20));
    peer.writeRaw(request.mid(20) + "\n");
    const QList<QJsonObject> replies = peer.replies();
    ASSERT_EQ(replies.size(), 1);
    EXPECT_EQ(replies[0]["reqid"].toString(), "{r}");
    EXPECT_TRUE(peer.readLine(300).isNull());  // nothing for the broken lines
}

TEST(EditorProcessTest, ExitsWhenTheConnectionCloses)
{
    EditorPeer peer;
    ASSERT_TRUE(peer.startReady());
    peer.socket->disconnectFromHost();
    int code = -100;
    ASSERT_TRUE(peer.waitForExit(5000, &code));
    EXPECT_EQ(code, 0);
}

TEST(EditorProcessTest, BadArgumentsFailWithAMessage)
{
    const QString work = QDir::tempPath();
    const QList<QPair<QStringList, QString>> cases = {
        {{"uid=a", "work=" + work, "port=1", "appname=x"}, "-mKX9C"},
        {{"-mKX9C", "work=" + work, "port=1", "appname=x"}, "uid"},
        {{"-mKX9C", "uid=a", "port=1", "appname=x"}, "work"},
        {{"-mKX9C", "uid=a", "work=" + work, "appname=x"}, "port"},
        {{"-mKX9C", "uid=a", "work=" + work, "port=1"}, "appname"},
        {{"-mQL5", "uid=a", "work=" + work, "port=1", "appname=x"}, "QL5"},
        {{"-mKX9C", "uid=a", "work=" + work, "port=99999", "appname=x"}, "port"},
        {{"-mKX9C", "uid=a", "work=" + work, "port=1", "appname=x", "--bogus"}, "--bogus"},
        {{"-mKX9C", "uid=a", "work=" + work, "port=1", "appname=x", "--initial=/no/such.KX9F"}, "/no/such.KX9F"},
        {{}, "-mKX9C"},
    };
    for (const auto& c : cases) {
        const EditorRun r = runEditor(c.first);
        EXPECT_EQ(r.code, 1) << c.first.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(c.second)) << r.err.toStdString();
    }
    const EditorRun env = runEditor({"-mKX9C", "uid=a", "work=" + work, "port=1", "appname=x"}, "--delay-ms=soon");
    EXPECT_EQ(env.code, 1);
    EXPECT_TRUE(env.err.contains("--delay-ms"));

    const EditorRun help = runEditor({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.contains("QORA_EDITOR_OPTIONS"));

    // Nobody listening: it cannot connect.
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const QString port = QString::number(probe.serverPort());
    probe.close();
    const EditorRun refused = runEditor({"-mKX9C", "uid=a", "work=" + work, "port=" + port, "appname=x"});
    EXPECT_EQ(refused.code, 2);
    EXPECT_TRUE(refused.err.contains(port));
}

TEST(EditorProcessTest, DefaultFileAndSettingsAreInstalledBesideTheHost)
{
    const QString bin = qEnvironmentVariable("QORA_BIN_DIR");
    QSettings ini(bin + "/KX9.ini", QSettings::IniFormat);
    EXPECT_EQ(ini.value("MainApplication/VirtualDeviceFilePath").toString(), EditorPeer::editorPath());

    EditorPeer peer;
    const QString written = peer.dir.filePath("sub/default.KX9F");
    ASSERT_EQ(runEditor({"--write-default", written}).code, 0);
    ASSERT_TRUE(peer.startReady());
    ASSERT_TRUE(peer.set(kFader, 5));
    for (const QString& file : {written, bin + "/KX9/Descriptor/initialLoadData.KX9F"}) {
        EXPECT_EQ(peer.command("set_load", info({{"path", file}}))["result"].toString(), "ok") << file.toStdString();
        EXPECT_EQ(peer.value(kFader).toDouble(), 0);
        ASSERT_TRUE(peer.set(kFader, 5));
    }
}

TEST(EditorProcessTest, InitialFileIsLoadedBeforeReady)
{
    EditorPeer first;
    ASSERT_TRUE(first.startReady());
    ASSERT_TRUE(first.set("/FX/FX:0/Param:0/PluginName:0", "REV-X HALL"));
    const QString file = first.dir.filePath("racks.KX9F");
    ASSERT_EQ(first.command("set_save", info({{"path", file}}))["result"].toString(), "ok");

    EditorPeer second;
    ASSERT_TRUE(second.startReady({}, "--initial=" + file));
    EXPECT_EQ(second.value("/FX/FX:0/Param:0/PluginName:0/MMS").toString(), "REV-X HALL");
}

TEST(EditorProcessTest, DelayedRepliesComeLateAndInOrder)
{
    EditorPeer peer;
    ASSERT_TRUE(peer.startReady({"--delay-ms=250"}));
    QElapsedTimer timer;
    timer.start();
    const QString a = peer.send("get_prm_val", addr(kFader));
    const QString b = peer.send("set_prm_val", info({{"prmAddr", kFader}, {"prmValue", 3}}));
    const QString c = peer.send("get_prm_val", addr(kFader));
    peer.writeRaw(QJsonDocument(QJsonObject{{"abort", QJsonObject{{"from", peer.serverName}, {"reqid", c}}}})
                      .toJson(QJsonDocument::Compact) + "\n");
    const QJsonObject ra = peer.replies().value(0);
    EXPECT_GE(timer.elapsed(), 250);
    const QJsonObject rb = peer.replies().value(0);
    EXPECT_GE(timer.elapsed(), 500);
    EXPECT_EQ(ra["reqid"].toString(), a);
    EXPECT_EQ(rb["reqid"].toString(), b);
    EXPECT_TRUE(peer.replies(800).isEmpty());  // the aborted one
    EXPECT_EQ(peer.value(kFader).toDouble(), 3);
}

TEST(EditorProcessTest, ReadinessCanBeWithheldOrDelayed)
{
    {
        EditorPeer peer;
        ASSERT_TRUE(peer.start({"--no-ready"}));
        ASSERT_TRUE(peer.accept());
        EXPECT_TRUE(peer.readMessage().contains("connected"));
        EXPECT_TRUE(peer.readLine(700).isNull());
        EXPECT_TRUE(peer.set(kFader, 1));  // still serves commands
    }
    {
        EditorPeer peer;
        ASSERT_TRUE(peer.start({"--no-announce"}));
        ASSERT_TRUE(peer.accept());
        EXPECT_TRUE(peer.readMessage().contains("notify"));
    }
    {
        EditorPeer peer;
        ASSERT_TRUE(peer.start({"--ready-delay-ms=400"}));
        ASSERT_TRUE(peer.accept());
        EXPECT_TRUE(peer.readMessage().contains("connected"));
        QElapsedTimer timer;
        timer.start();
        EXPECT_TRUE(peer.readMessage().contains("notify"));
        EXPECT_GE(timer.elapsed(), 300);
    }
}

TEST(EditorProcessTest, MatchingRequestsAreRefusedOrDropped)
{
    EditorPeer peer;
    ASSERT_TRUE(peer.startReady({"--ng-match=Fader/Level", "--drop-cmd=set_save"}));
    EXPECT_FALSE(peer.set(kFader, 9));
    EXPECT_TRUE(peer.set("/Mixing/InputChannel:5/Fader/On", 1));
    EXPECT_EQ(peer.command("get_prm_val", addr(kFader))["result"].toString(), "ng");

    peer.send("set_save", info({{"path", "dropped.KX9F"}}));
    EXPECT_TRUE(peer.replies(800).isEmpty());
    EXPECT_FALSE(QFile::exists(peer.dir.filePath("dropped.KX9F")));
    EXPECT_EQ(peer.value("/Mixing/InputChannel:5/Fader/On").toDouble(), 1);
}

// After n requests: --close-after answers the n-th and closes cleanly,
// --exit-after dies on it without answering.
TEST(EditorProcessTest, SessionEndsAfterTheGivenRequestCount)
{
    struct Row { const char* option; int exitCode; bool lastAnswered; };
    for (const Row& row : {Row{"--close-after=2", 0, true}, Row{"--exit-after=2", 3, false}}) {
        SCOPED_TRACE(row.option);
        EditorPeer peer;
        ASSERT_TRUE(peer.startReady({row.option}));
        EXPECT_TRUE(peer.set(kFader, 1));
        peer.send("set_scene_store", sceneCmd("1.00", {{"prmSceneTitle", "a"}, {"prmSceneComment", "b"}}));
        EXPECT_EQ(peer.replies(row.lastAnswered ? 5000 : 500).size(), row.lastAnswered ? 2 : 0);
        EXPECT_TRUE(peer.socketClosed(5000));
        int code = -100;
        ASSERT_TRUE(peer.waitForExit(5000, &code));
        EXPECT_EQ(code, row.exitCode);
        EXPECT_EQ(peer.loggedLines().size(), 2);
    }
}

// Options from the environment add to the command line's: replies sent a
// byte at a time after a garbage line, a forced type and a second log.
TEST(EditorProcessTest, ByteByByteGarbageAndEnvironmentOptions)
{
    EditorPeer peer;
    const QString otherLog = peer.dir.filePath("env.log");
    ASSERT_TRUE(peer.startReady({"--byte-by-byte"},
                                "--garbage-before-reply --force-type=128:Fader/Level   --log " + otherLog));
    peer.reads = 0;
    const QString reqid = peer.send("get_prm_val", addr(kFader));
    const QByteArray garbage = peer.readLine(10000);
    ASSERT_FALSE(garbage.isNull());
    EXPECT_TRUE(QJsonDocument::fromJson(garbage).isNull());
    const QList<QJsonObject> replies = peer.replies(10000);
    ASSERT_EQ(replies.size(), 1);
    EXPECT_EQ(replies[0]["reqid"].toString(), reqid);
    EXPECT_EQ(replies[0]["cmdinfo"].toObject()["info"].toObject()["prmType"].toInt(), 128);
    EXPECT_GT(peer.reads, 5);
    QFile f(otherLog);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("get_prm_val"));
}

TEST(EditorProcessTest, PipelinedRequestsAreAnsweredInOrder)
{
    EditorPeer peer;
    ASSERT_TRUE(peer.startReady());
    QByteArray batch;
    QStringList ids;
    for (int i = 0; i < 300; ++i) {
        ids << QString("{req-%1}").arg(i);
        const QJsonObject cmdinfo = i % 2 ? addr(kFader) : info({{"prmAddr", kFader}, {"prmValue", i}});
        batch += QJsonDocument(QJsonObject{{"request", QJsonObject{
            {"from", peer.serverName}, {"to", peer.uid}, {"reqid", ids.last()},
            {"cmd", i % 2 ? "get_prm_val" : "set_prm_val"}, {"cmdinfo", cmdinfo}}}}).toJson(QJsonDocument::Compact) + "\n";
    }
    peer.writeRaw(batch);
    for (int i = 0; i < 300; ++i) {
        const QJsonObject r = peer.replies().value(0);
        ASSERT_EQ(r["reqid"].toString(), ids[i]);
        if (i % 2) {
            EXPECT_EQ(r["cmdinfo"].toObject()["info"].toObject()["prmValue"].toDouble(), i - 1);
        }
    }
}
