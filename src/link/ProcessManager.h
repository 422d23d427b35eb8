#pragma once

#include "link/IProcessServerObserver.h"

#include <QObject>

// Turns the process server's observer calls into signals, so the command
// layer receives them as ordinary slot calls.
class ProcessManager : public QObject, public IProcessServerObserver
{
    Q_OBJECT
    Q_INTERFACES(IProcessServerObserver)
public:
    explicit ProcessManager(QObject* parent = nullptr);
    ~ProcessManager() override;

    bool onCreated(const QString& deviceUID) override;
    bool onDestroyed(const QString& deviceUID) override;
    bool onReply(const QString& deviceUID, const QString& reqUID, const QString& cmdKey,
                 const QVariantMap& info, const QString& cmdResult, unsigned long progress) override;
    bool onNotify(const QString& deviceUID, const QString& cmdKey, const QVariantList& infos) override;

signals:
    void processCreated(QString deviceUID);
    void processDestroyed(QString deviceUID);
    void processReplyReceived(QString deviceUID, QString reqUID, QString cmdKey, QVariantMap info,
                              QString cmdResult, ulong progress);
    bool processNotifyReceived(QString deviceUID, QString cmdKey, QVariantList infos);
};
