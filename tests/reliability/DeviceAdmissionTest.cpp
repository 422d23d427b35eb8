// The server admits only devices it started: a "connected" with any other
// identifier closes that connection, and replies and notifications count only
// from registered connections.
#include "link/ProcessServer.h"

#include "RecordingObserver.h"
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
    RecordingObserver observer;
    std::unique_ptr<AdmittingServer> server;
};

// Each refused announcement closes its own connection and is forgotten;
// nothing is created or reported, and nothing a connection sends without an
// admitted announcement counts, not even in the same read. Only the bad
// announcement closes a connection; the registered device stays in service.
TEST_F(DeviceAdmission, OnlyTheRegisteredConnectionCounts)
{
    auto peer = registeredPeer();
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
    peer->sendRaw(replyLine(known, "{genuine}"));
    ASSERT_TRUE(spinUntil([&] { return observer.events.size() == 2; }));
    settle();
    EXPECT_EQ(observer.events, (QStringList{"created " + known, "reply " + known + " {genuine} get_prm_val ok 0"}));
    EXPECT_TRUE(unannounced.isConnected());
    EXPECT_FALSE(server->sendRequest("{99999999-0000-0000-0000-000000000000}", "{r}", "get_prm_val", {}));
    EXPECT_TRUE(server->sendRequest(known, "{r2}", "set_load", {}));
    ASSERT_TRUE(spinUntil([&] { return peer->requestCount() == 1; }));
}

// A closed connection leaves no entry behind, not even under a second
// identifier it announced; the identifier is accepted again afterwards.
TEST_F(DeviceAdmission, ClosedConnectionLeavesNoEntryBehind)
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
    observer.events.clear();
    auto again = registeredPeer();
    again->sendRaw(replyLine(known, "{after}"));
    ASSERT_TRUE(spinUntil([&] { return observer.events.contains("reply " + known + " {after} get_prm_val ok 0"); }));
}

// Connections accepted before the start was known are still taken, even past
// the QTcpServer's pending limit, so the editor behind them gets through.
TEST_F(DeviceAdmission, ConnectionsBeforeTheStartDoNotHideTheEditor)
{
    server = std::make_unique<AdmittingServer>(QUuid::createUuid().toString());
    server->addObserver(&observer);
    std::vector<std::unique_ptr<QTcpSocket>> early(40);
    for (auto& socket : early) {
        socket = std::make_unique<QTcpSocket>();
        socket->connectToHost(QHostAddress::LocalHost, server->port());
        ASSERT_TRUE(socket->waitForConnected(2000));
    }
    settle();
    server->expectDevice(known);
    registeredPeer();
}

} // namespace

