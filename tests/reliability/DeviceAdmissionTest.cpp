// The server admits only devices it started: a "connected" with any other
// identifier closes that connection, and replies and notifications count only
// from registered connections.
#include "link/IProcessServerObserver.h"
#include "link/ProcessServer.h"

#include "ScriptedEditor.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QHostAddress>
#include <QStringList>
#include <QTcpSocket>
#include <QThread>
#include <QUuid>

#include <memory>
#include <vector>

namespace {

class Observer : public QObject, public IProcessServerObserver
{
    Q_OBJECT
    Q_INTERFACES(IProcessServerObserver)
public:
    QStringList events;
    bool onCreated(const QString& id) override { return record("created " + id); }
    bool onDestroyed(const QString& id) override { return record("destroyed " + id); }
    bool onReply(const QString& id, const QString& req, const QString&, const QVariantMap&, const QString& result,
                 unsigned long) override
    {
        return record(QString("reply %1 %2 %3").arg(id, req, result));
    }
    bool onNotify(const QString& id, const QString& key, const QVariantList&) override
    {
        return record(QString("notify %1 %2").arg(id, key));
    }

private:
    bool record(const QString& event)
    {
        events << event;
        return true;
    }
};

// Peers of these tests are not started by the server.
class AdmittingServer : public ProcessServer
{
public:
    using ProcessServer::ProcessServer;
    using ProcessServer::expectDevice;
};

QByteArray replyLine(const QString& from, const QString& reqid)
{
    return QString(R"({"reply":{"from":"%1","to":"s","reqid":"%2","cmd":"get_prm_val","result":"ok","progress":"0"}})"
                   "\n").arg(from, reqid).toUtf8();
}

QByteArray notifyLine(const QString& from)
{
    return QString(R"({"notify":{"from":"%1","cmd":"MMS Readied","cmdinfo":{}}})" "\n").arg(from).toUtf8();
}

void settle()
{
    QThread::msleep(50);
    QCoreApplication::processEvents();
}

class DeviceAdmission : public ::testing::Test
{
protected:
    void SetUp() override
    {
        server = std::make_unique<AdmittingServer>(QUuid::createUuid().toString());
        ASSERT_NE(server->port(), 0);
        server->addObserver(&observer);
        server->expectDevice(known);
    }

    std::unique_ptr<ScriptedEditor> registeredPeer()
    {
        auto peer = std::make_unique<ScriptedEditor>();
        EXPECT_TRUE(peer->connectTo(server->port()));
        peer->announce(known);
        EXPECT_TRUE(spinUntil([&] { return observer.events.contains("created " + known); }));
        return peer;
    }

    const QString known = "{11111111-2222-3333-4444-555555555555}";
    Observer observer;
    std::unique_ptr<AdmittingServer> server;
};

TEST_F(DeviceAdmission, UnknownIdentifierIsClosedAndNeverCreated)
{
    ScriptedEditor stray;
    ASSERT_TRUE(stray.connectTo(server->port()));
    stray.announce("{99999999-0000-0000-0000-000000000000}");
    ASSERT_TRUE(spinUntil([&] { return !stray.isConnected(); }));
    settle();
    // Closed and forgotten: nothing tells the observers the editor left.
    EXPECT_TRUE(observer.events.isEmpty());
    EXPECT_FALSE(server->sendRequest("{99999999-0000-0000-0000-000000000000}", "{r}", "get_prm_val", {}));
}

TEST_F(DeviceAdmission, EmptyOrMissingIdentifierIsRefused)
{
    ScriptedEditor stray;
    ASSERT_TRUE(stray.connectTo(server->port()));
    stray.sendRaw(R"({"connected":{"from":7}})" "\n");
    ASSERT_TRUE(spinUntil([&] { return !stray.isConnected(); }));
    ScriptedEditor other;
    ASSERT_TRUE(other.connectTo(server->port()));
    other.sendRaw(R"({"connected":{}})" "\n");
    ASSERT_TRUE(spinUntil([&] { return !other.isConnected(); }));
    settle();
    EXPECT_FALSE(observer.events.join(",").contains("created"));
}

TEST_F(DeviceAdmission, IdentifierPassedToAStartIsAccepted)
{
    auto peer = registeredPeer();
    EXPECT_TRUE(peer->isConnected());
    EXPECT_TRUE(server->sendRequest(known, "{r}", "get_prm_val", {}));
    ASSERT_TRUE(spinUntil([&] { return peer->requestCount() == 1; }));
}

TEST_F(DeviceAdmission, UnannouncedConnectionCannotInjectRepliesOrNotifications)
{
    auto peer = registeredPeer();
    ScriptedEditor stray;
    ASSERT_TRUE(stray.connectTo(server->port()));
    stray.sendRaw(replyLine(known, "{forged}") + notifyLine(known));
    peer->sendRaw(replyLine(known, "{genuine}"));
    ASSERT_TRUE(spinUntil([&] { return observer.events.contains("reply " + known + " {genuine} ok"); }));
    settle();
    EXPECT_EQ(observer.events, (QStringList{"created " + known, "reply " + known + " {genuine} ok"}));
    EXPECT_TRUE(stray.isConnected());   // only a bad announcement closes it
}

TEST_F(DeviceAdmission, RepliesAfterARefusedAnnouncementInTheSameReadAreDropped)
{
    ScriptedEditor stray;
    ASSERT_TRUE(stray.connectTo(server->port()));
    stray.sendRaw(R"({"connected":{"from":"{bad}"}})" "\n" + replyLine("{bad}", "{r}") + notifyLine("{bad}"));
    ASSERT_TRUE(spinUntil([&] { return !stray.isConnected(); }));
    settle();
    EXPECT_TRUE(observer.events.isEmpty());
}

TEST_F(DeviceAdmission, StrayAnnouncementLeavesTheRegisteredDeviceInService)
{
    auto peer = registeredPeer();
    ScriptedEditor stray;
    ASSERT_TRUE(stray.connectTo(server->port()));
    stray.announce("{stray}");
    ASSERT_TRUE(spinUntil([&] { return !stray.isConnected(); }));
    EXPECT_TRUE(server->sendRequest(known, "{r2}", "set_load", {}));
    ASSERT_TRUE(spinUntil([&] { return peer->requestCount() == 1; }));
    peer->sendRaw(notifyLine(known));
    ASSERT_TRUE(spinUntil([&] { return observer.events.contains("notify " + known + " MMS Readied"); }));
}

TEST_F(DeviceAdmission, RegisteredConnectionStopsCountingOnceItCloses)
{
    auto peer = registeredPeer();
    peer->close();
    ASSERT_TRUE(spinUntil([&] { return observer.events.contains("destroyed " + known); }));
    observer.events.clear();
    // A new connection with the same (expected) identifier is accepted again.
    auto again = registeredPeer();
    again->sendRaw(replyLine(known, "{after}"));
    ASSERT_TRUE(spinUntil([&] { return observer.events.contains("reply " + known + " {after} ok"); }));
}

TEST_F(DeviceAdmission, ConnectionWithTwoIdentifiersLeavesNoEntryBehind)
{
    const QString second = "{22222222-2222-3333-4444-555555555555}";
    server->expectDevice(second);
    auto peer = registeredPeer();
    peer->announce(second);
    ASSERT_TRUE(spinUntil([&] { return observer.events.contains("created " + second); }));
    peer->close();
    ASSERT_TRUE(spinUntil([&] { return observer.events.contains("destroyed " + known); }));
    settle();
    EXPECT_FALSE(server->sendRequest(second, "{r}", "get_prm_val", {}));
}

// Connections accepted before the start was known are still taken, even past
// the QTcpServer's pending limit, so the editor behind them gets through.
TEST(DeviceAdmissionEarly, ConnectionsBeforeTheStartDoNotHideTheEditor)
{
    AdmittingServer server(QUuid::createUuid().toString());
    Observer observer;
    server.addObserver(&observer);
    std::vector<std::unique_ptr<QTcpSocket>> early;
    for (int i = 0; i < 40; ++i) {
        early.push_back(std::make_unique<QTcpSocket>());
        early.back()->connectToHost(QHostAddress::LocalHost, server.port());
        ASSERT_TRUE(early.back()->waitForConnected(2000));
    }
    settle();
    const QString id = QUuid::createUuid().toString();
    server.expectDevice(id);
    ScriptedEditor editor;
    ASSERT_TRUE(editor.connectTo(server.port()));
    editor.announce(id);
    EXPECT_TRUE(spinUntil([&] { return observer.events.contains("created " + id); }));
}

} // namespace

#include "DeviceAdmissionTest.moc"
