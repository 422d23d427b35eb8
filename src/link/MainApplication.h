#pragma once

#include "link/LinkTimings.h"
#include "link/ReplyRecord.h"

#include <QList>
#include <QObject>
#include <QReadWriteLock>
#include <QString>
#include <QVariant>
#include <QWaitCondition>

#include <functional>

class OVariant;
class ProcessManager;
class ProcessServer;

// The command layer between the mixer object and the editor program.
//
// The object lives on a worker thread. The public command operations run on
// the host's thread: each clears the last result, queues its doCommand slot
// and waits for a final reply ("ok" or "ng"). Replies are not matched to
// requests; exactly one command is in flight at a time, so a reply that comes
// too late can end the next command's wait.
class MainApplication : public QObject
{
    Q_OBJECT
public:
    explicit MainApplication(QObject* parent = nullptr);
    explicit MainApplication(const LinkTimings& timings, QObject* parent = nullptr);
    ~MainApplication() override;

    const LinkTimings& timings() const;

    void GetPrmVal(const QString& address, OVariant& value);
    bool SetPrmVal(const QString& address, const OVariant& value);
    bool GetSceneInfo(const QString& type, const QString& category, const QString& sceneNo, QString& text);
    bool SetSceneInfo(const QString& type, const QString& category, const QString& sceneNo, const QString& value);
    bool SetSceneRecall(const QString& category, const QString& sceneNo);
    bool SetSceneStore(const QString& category, const QString& sceneNo, const QString& title, const QString& comment);
    bool SetLoad(const QString& filePath);
    bool SetSave(const QString& filePath);
    bool SetInitCurrent();
    void SetWindowVisibility(const QString& visibility);

    bool commandCreated() const;
    bool commandDestroyed() const;
    bool mmsReadied() const;
    // Host thread: wait for a flag with the timings' poll count and step;
    // returns the flag's final state.
    bool waitForCommandCreated();
    bool waitForMmsReadied();
    bool waitForCommandDestroyed();

    // Receives the editor launch failures (title, text). Empty: a critical
    // message box on the GUI thread when there is one, else the log.
    using LaunchFailureReporter = std::function<void(const QString& title, const QString& text)>;
    static void setLaunchFailureReporter(LaunchFailureReporter reporter);

private slots:
    void doCommandCreate();
    void doCommandDestroy();
    void doCommandGetPrmVal(const QString& addr);
    void doCommandSetPrmData(const QVariantList& dataList);
    void doCommandSetPrmVal(const QString& addr, const QVariant& value);
    void doCommandGetPrmData(const QVariantList& dataList);
    void doCommandGetSceneInfo(const QString& type, const QString& category, const QString& sceneNo);
    void doCommandSetSceneInfo(const QString& type, const QString& category, const QString& sceneNo,
                               const QString& value);
    void doCommandSetSceneRecall(const QString& category, const QString& sceneNo);
    void doCommandSetSceneStore(const QString& category, const QString& sceneNo, const QString& title,
                                const QString& comment);
    void doCommandSetLoad(const QString& filePath);
    void doCommandSetSave(const QString& filePath);
    void doCommandSetInitCurrent();
    void doCommandSetWindowVisibility(const QString& visibility);
    void onProcessCreated(const QString& deviceUID);
    void onProcessDestroyed(const QString& deviceUID);
    void onProcessReplyReceived(const QString& deviceUID, const QString& reqUID, const QString& cmdKey,
                                const QVariantMap& info, const QString& cmdResult, ulong progress);
    void onProcessNotifyReceived(const QString& deviceUID, const QString& cmdKey, const QVariantList& infos);

private:
    void request(const QString& cmdKey, const QVariantMap& cmdinfo);
    void clearResult();
    void waitForReply(const QString& label, int limit, ReplyRecord& out);
    bool waitForFlag(const bool& flag, int polls, int sleepMs);
    // Queues the slot and waits for a final reply; true for "ok".
    bool invokeAndWait(const char* slot, int limit, ReplyRecord& reply,
                       QGenericArgument a0 = QGenericArgument(), QGenericArgument a1 = QGenericArgument(),
                       QGenericArgument a2 = QGenericArgument(), QGenericArgument a3 = QGenericArgument());
    void dropBlockCache();
    static void reportLaunchFailure(const QString& text);

    QString serverName;
    QString deviceUID;
    ProcessServer* processServer;
    ProcessManager* processManager;

    mutable QReadWriteLock lock;
    bool m_commandCreated;
    bool m_commandDestroyed;
    bool m_mmsReadied;
    ReplyRecord lastReply;
    // Signalled under `lock` whenever a flag or a final reply is recorded.
    QWaitCondition stateChanged;

    // Host thread only.
    QVariantList pendingWrites;
    QList<OVariant*> blockCache;
    QString blockCacheKey;

    LinkTimings m_timings;
};
