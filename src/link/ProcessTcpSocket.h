#pragma once

#include <QByteArray>
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
    bool send(const QByteArray& message);

signals:
    void connected();
    void disconnected();
    void receivedData(QByteArray data);

private slots:
    void received();

private:
    QPointer<QTcpSocket> socket;
    PacketParser* parser;
};
