#include "link/ProcessTcpSocket.h"

#include "link/PacketParser.h"

#include <QMetaObject>
#include <QTcpSocket>

ProcessTcpSocket::ProcessTcpSocket(QTcpSocket* tcpSocket, QObject* parent)
    : QObject(parent)
    , socket(tcpSocket)
    , parser(new PacketParser(this))
{
    if (!socket)
        return;
    socket->setParent(this);
    // A message leaves in several chunks; with Nagle's algorithm every chunk
    // after the first would wait for the peer's delayed acknowledgement.
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    connect(socket, &QTcpSocket::connected, this, &ProcessTcpSocket::connected);
    connect(socket, &QTcpSocket::disconnected, this, &ProcessTcpSocket::disconnected);
    connect(socket, &QTcpSocket::readyRead, this, &ProcessTcpSocket::received);
    // Bytes buffered before we listened would otherwise wait for the next read.
    if (socket->bytesAvailable() > 0)
        QMetaObject::invokeMethod(this, "received", Qt::QueuedConnection);
}

ProcessTcpSocket::~ProcessTcpSocket()
{
    if (socket) {
        disconnect(socket, nullptr, this, nullptr);
        if (socket->isValid())
            socket->close();
    }
    delete parser;
    // The socket, our child, goes with QObject's teardown.
}

bool ProcessTcpSocket::isConnected() const
{
    return socket && socket->state() == QAbstractSocket::ConnectedState;
}

bool ProcessTcpSocket::disconnectFromPeer()
{
    if (socket && socket->state() == QAbstractSocket::ConnectedState) {
        socket->disconnectFromHost();
        if (socket && socket->state() != QAbstractSocket::UnconnectedState)
            socket->waitForDisconnected(DisconnectWaitMs);
    }
    return true;
}

bool ProcessTcpSocket::send(const QByteArray& message)
{
    if (!socket || !socket->isValid())
        return false;
    // The peer may go while a write is under way: the flush then leaves the
    // socket unconnected, and there is nothing left to wait for.
    const auto drain = [this] {
        socket->flush();
        if (socket->state() == QAbstractSocket::ConnectedState && socket->bytesToWrite() > 0)
            socket->waitForBytesWritten(WriteWaitMs);
    };
    const QList<QByteArray> chunks = PacketParser::makePackets(message);
    for (const QByteArray& chunk : chunks) {
        if (socket->write(chunk) <= 0)
            return false;
        if (!wholeMessageWrites)
            drain();
    }
    if (wholeMessageWrites)
        drain();
    return true;
}

void ProcessTcpSocket::received()
{
    // A handler may close the socket while we are still emitting.
    while (socket && socket->bytesAvailable() > 0) {
        const QByteArray bytes = socket->readAll();
        QList<QJsonDocument> documents;
        const QList<QByteArray> messages = parser->parse(socket->peerPort(), bytes, documents);
        for (int i = 0; i < messages.size(); ++i) {
            currentMessage = messages.at(i);
            currentDocument = documents.at(i);
            emit receivedData(messages.at(i));
        }
        currentMessage.clear();
        currentDocument = QJsonDocument();
    }
}

QJsonObject ProcessTcpSocket::parsedMessage(const QByteArray& message) const
{
    if (!message.isSharedWith(currentMessage) || !currentDocument.isObject())
        return QJsonObject();
    return currentDocument.object();
}
