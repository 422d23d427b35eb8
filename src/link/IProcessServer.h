#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

// The command layer's view of the process server: start and release editor
// processes, send them requests and aborts, register observers. Failure is
// reported only by returning false.
class IProcessServer
{
public:
    virtual ~IProcessServer() = default;
    virtual bool createProcess(const QString& deviceUID, const QString& programPath,
                               const QString& workDir, const QVariantMap& extra) = 0;
    virtual bool destroyProcess(const QString& deviceUID) = 0;
    virtual bool sendRequest(const QString& deviceUID, const QString& reqUID,
                             const QString& cmdKey, const QVariantMap& params) = 0;
    virtual bool sendAbort(const QString& deviceUID, const QString& reqUID) = 0;
    virtual bool addObserver(QObject* observer) = 0;
    virtual bool removeObserver(QObject* observer) = 0;
};

#define IProcessServer_iid "com.processServer.IProcessServer/1.0"
Q_DECLARE_INTERFACE(IProcessServer, IProcessServer_iid)
