#pragma once

#include "link/LinkTimings.h"
#include "link/ReadCache.h"
#include "link/ReadOrder.h"
#include "link/ReplyRecord.h"
#include "link/MemoryMirror.h"
#include "link/WireMode.h"

#include <QList>
#include <QObject>
#include <QReadWriteLock>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <QWaitCondition>

#include <atomic>
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
// too late can end the next command's wait. How writes and cached reads
// reach the editor depends on the wire mode (WireMode.h), which KX9.ini's
// key WireMode chooses when the editor is launched.
class MainApplication : public QObject
{
    Q_OBJECT
public:
    // Writes that never land are sent at most this many to a command.
    static constexpr int MaxBatchEntries = 2000;

    explicit MainApplication(QObject* parent = nullptr);
    explicit MainApplication(const LinkTimings& timings, QObject* parent = nullptr);
    ~MainApplication() override;

    const LinkTimings& timings() const;
    WireMode wireMode() const;

    void GetPrmVal(const QString& address, OVariant& value);
    // Reads a list of addresses in one command; `values` gets one entry per
    // address, all invalid when the editor does not answer "ok". Batched mode
    // sends the pending writes first and answers later reads of these
    // addresses from the cache.
    void GetPrmVals(const QStringList& addresses, QVector<OVariant>& values);
    // Batched mode: true once the write is queued; a refusal is reported
    // later, per address, to the refusal handler. Strict mode: the editor's
    // answer when the write is sent, true when it was only collected.
    bool SetPrmVal(const QString& address, const OVariant& value);
    // The write of `name`'s `channel` at the address `makeAddress` forms; in
    // the batched mode a value the memory holds already costs no address.
    bool SetPrmVal(const QString& name, int channel, MemoryMirror::AddressMaker makeAddress, const OVariant& value);
    // Batched mode: sends the pending writes now; false when any of them did
    // not land. Strict mode sends nothing here (its rules decide).
    bool flushWrites();
    // One parameter of a suggested read order: its channels' addresses are
    // what `makeAddress` forms from `name`.
    struct ReadSuggestion {
        QString name;
        int channelMin = 0;
        int channelMax = 0;
        MemoryMirror::AddressMaker makeAddress = nullptr;
    };
    // Batched mode, until the host's first pass of reads: reads go ahead in
    // the order of `parameters`, each over its channels.
    void suggestReadOrder(const QVector<ReadSuggestion>& parameters);
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
    // True from the moment the registered editor's connection closes until
    // an editor announces itself again. While it holds, every waiting and
    // later command fails at once instead of running into its limit, and
    // the start-up waits end.
    bool editorGone() const;
    // Host thread: wait for a flag with the timings' poll count and step;
    // returns the flag's final state.
    bool waitForCommandCreated();
    bool waitForMmsReadied();
    bool waitForCommandDestroyed();

    // Receives the editor launch failures (title, text). Empty: a critical
    // message box on the GUI thread when there is one, else the log.
    using LaunchFailureReporter = std::function<void(const QString& title, const QString& text)>;
    static void setLaunchFailureReporter(LaunchFailureReporter reporter);

    // Host thread: hears of every write of a batch that did not land (the
    // editor refused it, or the batch got no answer in time), with the
    // editor's reason when it gave one.
    using WriteRefusalHandler =
        std::function<void(const QString& address, const QVariant& value, const QString& reason)>;
    void setWriteRefusalHandler(WriteRefusalHandler handler);

    // Worker thread: hears once that the editor left on its own (its
    // connection closed without doCommandDestroy). Set before
    // doCommandCreate is queued.
    using EditorGoneHandler = std::function<void()>;
    void setEditorGoneHandler(EditorGoneHandler handler);

private slots:
    void doCommandCreate();
    void doCommandDestroy();
    void doCommandGetPrmVal(const QString& addr);
    void doCommandSetPrmData(const QVariantList& dataList);
    void doCommandSetPrmVal(const QString& addr, const QVariant& value);
    void doCommandGetPrmData(const QVariantList& dataList);
    // The batched mode's list read: the cmdinfo written on the host's thread.
    void doCommandGetPrmList(const QByteArray& cmdinfo);
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
    // Batched mode: a command that got no final reply empties the read cache.
    void forgetIfSilent(const ReplyRecord& reply);
    static void reportLaunchFailure(const QString& text);

    void strictGetPrmVal(const QString& address, OVariant& value);
    void batchedGetPrmVal(const QString& address, OVariant& value);
    bool strictSetPrmVal(const QString& address, const OVariant& value);
    void queueWrite(const QString& address, const QVariant& wire);
    // Single read; true for "ok", with the value converted.
    bool readSingle(const QString& address, OVariant& value);
    // Block read of every channel of `key`; the values in channel order.
    bool readBlock(const QString& key, int highest, QVector<OVariant>& values);
    // One "getData_prm_val" of `addresses`; their values are appended to
    // `values` when the editor answers "ok".
    bool readList(const QStringList& addresses, QVector<OVariant>& values);
    // Batched mode: reads `key` and what followed it in the last pass (not
    // cached yet) in one command into the cache; false when there is nothing
    // to read ahead or the editor refused the list.
    bool readAhead(const QString& key);
    // Sends a list; on "ng" resends it in halves down to single writes.
    bool sendBatch(const QVariantList& batch);
    bool resend(const QVariantList& part);
    bool sendSingle(const QVariantMap& entry);
    void reportRefused(const QVariantList& batch, const QString& reason);
    // Batched mode: before any command other than a write.
    void beforeCommand();
    // Batched mode: before a command that replaces the current memory.
    void beforeMemoryChange();
    // Batched mode, after a reset: reads the defaults of the addresses
    // written before whose defaults are not known yet.
    void learnDefaults();

    QString serverName;
    QString deviceUID;
    ProcessServer* processServer;
    ProcessManager* processManager;

    mutable QReadWriteLock lock;
    bool m_commandCreated;
    bool m_commandDestroyed;
    bool m_mmsReadied;
    bool m_editorGone = false;
    ReplyRecord lastReply;
    // Signalled under `lock` whenever a flag or a final reply is recorded.
    QWaitCondition stateChanged;

    // Host thread only.
    QVariantList pendingWrites;
    QList<OVariant*> blockCache;   // strict mode
    QString blockCacheKey;         // strict mode
    ReadCache readCache;           // batched mode
    MemoryMirror mirror;           // batched mode
    ReadOrder readOrder;           // batched mode
    WriteRefusalHandler refusalHandler;

    // Worker thread only.
    EditorGoneHandler goneHandler;
    bool releasing = false;   // doCommandDestroy let the editor go

    LinkTimings m_timings;
    // Set on the worker thread by the launch, read on the host's thread.
    std::atomic<WireMode> m_wireMode{WireMode::Batched};
};
