#include "link/ProcessServer.h"

#include "link/IProcessServerObserver.h"
#include "link/JsonCodec.h"
#include "link/ProcessTcpSocket.h"

#include <QDir>
#include <QFileInfo>
#include <QHostAddress>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QMetaObject>
#include <QMutexLocker>
#include <QProcess>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>

#include <iterator>

// One debug line per request written to the editor, the command key as text;
// off by default, a host enables it to count editor commands.
namespace {
Q_LOGGING_CATEGORY(lcRequest, "qora.link.request", QtWarningMsg)
}

ProcessServer::ProcessServer(const QString& serverName, QObject* parent)
    : QObject(parent)
    , name(serverName)
    , tcpServer(new QTcpServer(this))
{
    if (tcpServer)
        tcpServer->listen(QHostAddress::LocalHost, 0);
}

ProcessServer::~ProcessServer()
{
    // Sockets that never announced themselves are not in `connections` but
    // would still report their closing to us.
    const QList<ProcessTcpSocket*> sockets = findChildren<ProcessTcpSocket*>(QString(), Qt::FindDirectChildrenOnly);
    for (ProcessTcpSocket* socket : sockets)
        disconnect(socket, nullptr, this, nullptr);

    const QStringList ids = connections.keys();
    for (const QString& id : ids)
        destroyProcess(id);
    connections.clear();

    if (tcpServer) {
        disconnect(tcpServer, &QTcpServer::newConnection, this, &ProcessServer::connected);
        tcpServer->close();
        delete tcpServer;
        tcpServer = nullptr;
    }
    // The remaining ProcessTcpSocket children go with QObject's teardown.
}

quint16 ProcessServer::port() const
{
    return tcpServer ? tcpServer->serverPort() : 0;
}

void ProcessServer::setWholeMessageWrites(bool on)
{
    wholeMessageWrites = on;
}

void ProcessServer::setCompactListReplies(bool on)
{
    compactListReplies = on;
}

bool ProcessServer::createProcess(const QString& deviceUID, const QString& programPath,
                                  const QString& workDir, const QVariantMap& extra)
{
    QMutexLocker locker(&mutex);
    if (deviceUID.isEmpty() || programPath.isEmpty() || connections.contains(deviceUID)
        || !QFileInfo::exists(programPath))
        return false;

    // Every call adds one more connection; the extra calls of the slot find
    // no pending connection and return.
    connect(tcpServer, &QTcpServer::newConnection, this, &ProcessServer::connected);
    takeEarlyConnections();

    // The editor finds its own files relative to its directory; the caller
    // restores the current directory.
    QDir::setCurrent(QFileInfo(programPath).absoluteDir().absolutePath());

    const QString arg = QStringLiteral("%1=%2");
    QStringList arguments;
    arguments << QStringLiteral("-mKX9C")
              << arg.arg(QStringLiteral("uid"), deviceUID)
              << arg.arg(QStringLiteral("work"), workDir)
              << arg.arg(QStringLiteral("port"), QString::number(port()))
              << arg.arg(QStringLiteral("appname"), QStringLiteral("Plaxbridge"));
    for (auto it = extra.cbegin(); it != extra.cend(); ++it)
        arguments << arg.arg(it.key(), it.value().toString());

    if (!QProcess::startDetached(programPath, arguments))
        return false;
    expectedDevices.insert(deviceUID);
    return true;
}

void ProcessServer::expectDevice(const QString& deviceUID)
{
    QMutexLocker locker(&mutex);
    if (deviceUID.isEmpty())
        return;
    expectedDevices.insert(deviceUID);
    connect(tcpServer, &QTcpServer::newConnection, this, &ProcessServer::connected, Qt::UniqueConnection);
    takeEarlyConnections();
}

void ProcessServer::takeEarlyConnections()
{
    // Connections accepted before anyone listened to newConnection are
    // pending without a signal to come; once the QTcpServer's pending list is
    // full it stops accepting, and the editor would wait in the backlog.
    if (tcpServer && tcpServer->hasPendingConnections())
        QMetaObject::invokeMethod(this, &ProcessServer::connected, Qt::QueuedConnection);
}

bool ProcessServer::isRegistered(QObject* connection)
{
    QMutexLocker locker(&mutex);
    for (auto it = connections.cbegin(); it != connections.cend(); ++it) {
        if (it.value() == connection)
            return true;
    }
    return false;
}

bool ProcessServer::destroyProcess(const QString& deviceUID)
{
    QMutexLocker locker(&mutex);
    if (deviceUID.isEmpty() || !connections.contains(deviceUID))
        return false;
    ProcessTcpSocket* connection = connections.value(deviceUID);
    if (connection && connection->isConnected())
        connection->disconnectFromPeer();
    return true;
}

bool ProcessServer::sendRequest(const QString& deviceUID, const QString& reqUID,
                                const QString& cmdKey, const QVariantMap& params)
{
    QByteArray message;
    JsonCodec::makeRequestMessage(message, name, deviceUID, reqUID, cmdKey, params);
    return sendRequestMessage(deviceUID, cmdKey, message);
}

bool ProcessServer::sendRequestText(const QString& deviceUID, const QString& reqUID, const QString& cmdKey,
                                    const QByteArray& cmdinfo)
{
    QByteArray message;
    JsonCodec::makeRequestMessage(message, name, deviceUID, reqUID, cmdKey, cmdinfo);
    return sendRequestMessage(deviceUID, cmdKey, message);
}

bool ProcessServer::sendRequestMessage(const QString& deviceUID, const QString& cmdKey, const QByteArray& message)
{
    QMutexLocker locker(&mutex);
    if (deviceUID.isEmpty() || cmdKey.isEmpty() || !connections.contains(deviceUID))
        return false;
    ProcessTcpSocket* connection = connections.value(deviceUID);
    if (!connection)
        return false;
    qCDebug(lcRequest, "%s", qUtf8Printable(cmdKey));
    return connection->send(message);
}

bool ProcessServer::sendAbort(const QString& deviceUID, const QString& reqUID)
{
    QMutexLocker locker(&mutex);
    if (deviceUID.isEmpty() || reqUID.isEmpty() || !connections.contains(deviceUID))
        return false;
    ProcessTcpSocket* connection = connections.value(deviceUID);
    if (!connection)
        return false;
    QByteArray message;
    JsonCodec::makeAbortMessage(message, name, reqUID);
    return connection->send(message);
}

bool ProcessServer::addObserver(QObject* observer)
{
    QMutexLocker locker(&mutex);
    if (!observers.contains(observer))
        observers.append(observer);
    return true;
}

bool ProcessServer::removeObserver(QObject* observer)
{
    QMutexLocker locker(&mutex);
    observers.removeOne(observer);
    return true;
}

QList<QObject*> ProcessServer::observerSnapshot()
{
    QMutexLocker locker(&mutex);
    return observers;
}

void ProcessServer::connected()
{
    // Every pending connection, not only the one this signal was for: one
    // taken per signal would leave earlier ones queued in front of the editor.
    while (QTcpSocket* socket = tcpServer ? tcpServer->nextPendingConnection() : nullptr) {
        if (!socket->isValid()) {
            socket->deleteLater();
            continue;
        }
        // Requests must not wait for the ACK of the one before (Nagle's rule
        // meets the peer's delayed ACK: about 40 ms a time on Linux).
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        // Parented to the server so that unannounced connections are released
        // with it; a closed connection is released by `disconnected`.
        auto* connection = new ProcessTcpSocket(socket, this);
        connection->setWholeMessageWrites(wholeMessageWrites);
        connect(connection, &ProcessTcpSocket::disconnected, this, &ProcessServer::disconnected);
        connect(connection, &ProcessTcpSocket::receivedData, this, &ProcessServer::receivedData);
    }
}

void ProcessServer::disconnected()
{
    auto* connection = qobject_cast<ProcessTcpSocket*>(sender());
    if (!connection)
        return;
    disconnect(connection, &ProcessTcpSocket::disconnected, this, &ProcessServer::disconnected);
    disconnect(connection, &ProcessTcpSocket::receivedData, this, &ProcessServer::receivedData);

    QString id;
    {
        QMutexLocker locker(&mutex);
        id = connections.key(connection);
        // A connection that announced several admitted identifiers leaves no
        // entry behind that would point at a deleted object.
        for (auto it = connections.begin(); it != connections.end();)
            it = it.value() == connection ? connections.erase(it) : std::next(it);
    }
    connection->deleteLater();

    // Only the registered device's leaving is an event: a stray client, a
    // refused announcement or a connection whose identifier was taken over
    // says nothing about the editor, and observers read any report as
    // "editor gone".
    if (id.isEmpty())
        return;
    for (QObject* object : observerSnapshot()) {
        if (auto* observer = qobject_cast<IProcessServerObserver*>(object))
            observer->onDestroyed(id);
    }
}

void ProcessServer::receivedData(const QByteArray& data)
{
    // The framing parsed the message already to check it.
    auto* socket = qobject_cast<ProcessTcpSocket*>(sender());
    QJsonObject message = socket ? socket->parsedMessage(data) : QJsonObject();
    if (message.isEmpty())
        message = JsonCodec::parseMessage(data);
    const QString kind = JsonCodec::messageKind(message);
    if (kind == QLatin1String(JsonCodec::KindConnected)) {
        auto* connection = qobject_cast<ProcessTcpSocket*>(sender());
        QString id;
        if (!connection || !JsonCodec::parseConnectedMessage(id, message))
            return;
        {
            QMutexLocker locker(&mutex);
            if (!expectedDevices.contains(id)) {
                locker.unlock();
                // Closed and forgotten like any unregistered connection.
                connection->disconnectFromPeer();
                return;
            }
            connections.insert(id, connection);
        }
        for (QObject* object : observerSnapshot()) {
            if (auto* observer = qobject_cast<IProcessServerObserver*>(object))
                observer->onCreated(id);
        }
    } else if (kind == QLatin1String(JsonCodec::KindReply)) {
        if (!isRegistered(sender()))
            return;
        QString from, to, reqUID, cmdKey, result;
        QVariantMap info;
        unsigned long progress = 0;
        if (!JsonCodec::parseReplyMessage(from, to, reqUID, cmdKey, info, result, progress, message,
                                          compactListReplies))
            return;
        for (QObject* object : observerSnapshot()) {
            if (auto* observer = qobject_cast<IProcessServerObserver*>(object))
                observer->onReply(from, reqUID, cmdKey, info, result, progress);
        }
    } else if (kind == QLatin1String(JsonCodec::KindNotify)) {
        if (!isRegistered(sender()))
            return;
        QString from, cmdKey;
        QVariantMap info;
        if (!JsonCodec::parseNotifyMessage(from, cmdKey, info, message))
            return;
        const QVariantList infos{QVariant(info)};
        for (QObject* object : observerSnapshot()) {
            if (auto* observer = qobject_cast<IProcessServerObserver*>(object))
                observer->onNotify(from, cmdKey, infos);
        }
    }
}
