#pragma once

#include "link/IProcessServerObserver.h"
#include "link/ProcessServer.h"

#include <QObject>
#include <QStringList>

// Records every observer call of a process server as one line of text, in
// call order.
class RecordingObserver : public QObject, public IProcessServerObserver
{
    Q_OBJECT
    Q_INTERFACES(IProcessServerObserver)
public:
    QStringList events;

    bool onCreated(const QString& id) override { return record("created " + id); }
    bool onDestroyed(const QString& id) override { return record("destroyed " + id); }
    bool onReply(const QString& id, const QString& req, const QString& key, const QVariantMap&, const QString& result,
                 unsigned long progress) override
    {
        return record(QString("reply %1 %2 %3 %4 %5").arg(id, req, key, result).arg(progress));
    }
    bool onNotify(const QString& id, const QString& key, const QVariantList&) override { return record(QString("notify %1 %2").arg(id, key)); }

private:
    bool record(const QString& event) { return events << event, true; }
};

// A server that admits peers it did not start.
class AdmittingServer : public ProcessServer
{
public:
    using ProcessServer::ProcessServer;
    using ProcessServer::expectDevice;
};
