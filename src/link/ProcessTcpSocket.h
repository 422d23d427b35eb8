#pragma once

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QObject>
#include <QPointer>

class PacketParser;
class QTcpSocket;

// One accepted editor connection: frames outgoing messages and cuts incoming
// ones. It takes the socket over from the QTcpServer that accepted it, so that
// a closed connection goes with all it holds when it is deleted.
class ProcessTcpSocket : public QObject
{
    Q_OBJECT
public:
    static constexpr int WriteWaitMs = 1000;
    static constexpr int DisconnectWaitMs = 1000;

    explicit ProcessTcpSocket(QTcpSocket* socket, QObject* parent = nullptr);
    ~ProcessTcpSocket() override;

    bool isConnected() const;
    bool disconnectFromPeer();
    // Writes the message and its line feed in chunks; false when the socket
    // is not valid or a chunk was not accepted (the rest is not written).
    // Each chunk is flushed and waited for, unless whole-message writes are
    // on: then the chunks go to the socket together and are flushed once,
    // the same bytes in one system call instead of one per chunk.
    bool send(const QByteArray& message);
    void setWholeMessageWrites(bool on) { wholeMessageWrites = on; }
    // While receivedData is being emitted for `message`: its top-level object
    // as the framing's check parsed it. Empty for any other bytes.
    QJsonObject parsedMessage(const QByteArray& message) const;

signals:
    void connected();
    void disconnected();
    void receivedData(QByteArray data);

private slots:
    void received();

private:
    QPointer<QTcpSocket> socket;
    PacketParser* parser;
    bool wholeMessageWrites = false;
    QByteArray currentMessage;
    QJsonDocument currentDocument;
};
