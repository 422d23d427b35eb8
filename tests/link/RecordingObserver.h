#pragma once

#include "link/IProcessServerObserver.h"
#include "link/ProcessServer.h"

#include <QList>
#include <QObject>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

// Records every observer call of a process server as one line of text, in
// call order, with the data of replies and notifications beside it.
class RecordingObserver : public QObject, public IProcessServerObserver
{
    Q_OBJECT
    Q_INTERFACES(IProcessServerObserver)
public:
    QStringList events;
    QList<QVariantMap> replyData;
    QList<QVariantList> notifyData;

    bool onCreated(const QString& id) override { return record("created " + id); }
    bool onDestroyed(const QString& id) override { return record("destroyed " + id); }
    bool onReply(const QString& id, const QString& req, const QString& key, const QVariantMap& info,
                 const QString& result, unsigned long progress) override
    {
        replyData << info;
        return record(QString("reply %1 %2 %3 %4 %5").arg(id, req, key, result).arg(progress));
    }
    bool onNotify(const QString& id, const QString& key, const QVariantList& infos) override
    {
        notifyData << infos;
        return record(QString("notify %1 %2").arg(id, key));
    }

private:
    bool record(const QString& event)
    {
        events << event;
        return true;
    }
};

// A server that admits peers it did not start.
class AdmittingServer : public ProcessServer
{
public:
    using ProcessServer::ProcessServer;
    using ProcessServer::expectDevice;
};
