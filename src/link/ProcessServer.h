#pragma once

#include "link/IProcessServer.h"

#include <QList>
#include <QMap>
#include <QObject>
#include <QRecursiveMutex>
#include <QSet>
#include <QString>

class ProcessTcpSocket;
class QTcpServer;

// The plug-in's end of the editor link: listens on a loopback port, starts
// editor processes, learns which connection is which device from its
// "connected" message and reports every event to its observers.
// Only identifiers this server handed to a started process are accepted in a
// "connected" message; replies, notifications and the closing of a connection
// count only from connections registered that way, so another local process
// can neither end the start-up wait, inject replies nor fake the editor's
// departure.
class ProcessServer : public QObject, public IProcessServer
{
    Q_OBJECT
    Q_INTERFACES(IProcessServer)
public:
    ProcessServer(const QString& name, QObject* parent = nullptr);
    ~ProcessServer() override;

    bool createProcess(const QString& deviceUID, const QString& programPath,
                       const QString& workDir, const QVariantMap& extra) override;
    bool destroyProcess(const QString& deviceUID) override;
    bool sendRequest(const QString& deviceUID, const QString& reqUID,
                     const QString& cmdKey, const QVariantMap& params) override;
    bool sendAbort(const QString& deviceUID, const QString& reqUID) override;
    // A request whose cmdinfo object is already JSON text.
    bool sendRequestText(const QString& deviceUID, const QString& reqUID, const QString& cmdKey,
                         const QByteArray& cmdinfo);
    bool addObserver(QObject* observer) override;
    bool removeObserver(QObject* observer) override;

    // The listening port (0 when not listening).
    quint16 port() const;
    // For connections made from now on (see ProcessTcpSocket::send); on the
    // server's own thread.
    void setWholeMessageWrites(bool on);
    // Replies of "getData_prm_val" carry their list as ListValues (see
    // JsonCodec::parseReplyMessage); on the server's own thread.
    void setCompactListReplies(bool on);
    const QString& serverName() const { return name; }

protected:
    // Accepts `deviceUID` in a "connected" message as if a process had been
    // started for it; for peers that are not started by this server (tests).
    void expectDevice(const QString& deviceUID);

private slots:
    void connected();
    void disconnected();
    void receivedData(const QByteArray& data);

private:
    bool sendRequestMessage(const QString& deviceUID, const QString& cmdKey, const QByteArray& message);
    QList<QObject*> observerSnapshot();
    bool isRegistered(QObject* connection);
    void takeEarlyConnections();

    QString name;
    QTcpServer* tcpServer;
    QMap<QString, ProcessTcpSocket*> connections;
    QSet<QString> expectedDevices;   // identifiers passed to started processes
    QList<QObject*> observers;
    QRecursiveMutex mutex;
    bool wholeMessageWrites = false;
    bool compactListReplies = false;
};
