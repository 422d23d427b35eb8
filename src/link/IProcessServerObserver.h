#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

// Receives the process server's events. Observers are QObjects that answer
// this interface through qobject_cast; results are ignored by the server.
class IProcessServerObserver
{
public:
    virtual ~IProcessServerObserver() = default;
    virtual bool onCreated(const QString& deviceUID) = 0;
    virtual bool onDestroyed(const QString& deviceUID) = 0;
    virtual bool onReply(const QString& deviceUID, const QString& reqUID, const QString& cmdKey,
                         const QVariantMap& info, const QString& cmdResult, unsigned long progress) = 0;
    virtual bool onNotify(const QString& deviceUID, const QString& cmdKey, const QVariantList& infos) = 0;
};

#define IProcessServerObserver_iid "com.processServer.IProcessServerObserver/1.0"
Q_DECLARE_INTERFACE(IProcessServerObserver, IProcessServerObserver_iid)
