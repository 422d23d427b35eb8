#include "link/ProcessManager.h"

ProcessManager::ProcessManager(QObject* parent)
    : QObject(parent)
{
}

ProcessManager::~ProcessManager() = default;

bool ProcessManager::onCreated(const QString& deviceUID)
{
    emit processCreated(deviceUID);
    return true;
}

bool ProcessManager::onDestroyed(const QString& deviceUID)
{
    emit processDestroyed(deviceUID);
    return true;
}

bool ProcessManager::onReply(const QString& deviceUID, const QString& reqUID, const QString& cmdKey,
                             const QVariantMap& info, const QString& cmdResult, unsigned long progress)
{
    emit processReplyReceived(deviceUID, reqUID, cmdKey, info, cmdResult, progress);
    return true;
}

bool ProcessManager::onNotify(const QString& deviceUID, const QString& cmdKey, const QVariantList& infos)
{
    emit processNotifyReceived(deviceUID, cmdKey, infos);
    return true;
}
