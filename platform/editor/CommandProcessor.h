#pragma once

#include "ConsoleMemory.h"
#include "PrmEntry.h"
#include "ReplyStep.h"
#include "SceneStore.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QVector>

class EditorRequest;
class QJsonObject;
class QJsonValue;

// Executes the editor commands on the console memory and the scene store,
// independent of any socket. Every command yields its replies in sending
// order; the last one is final ("ok" or "ng"). The long commands (file load
// and save, scene store and recall, memory reset) report progress first.
class CommandProcessor {
public:
    explicit CommandProcessor(const QString& workDir);

    static bool isLongCommand(const QString& cmd);

    QVector<ReplyStep> handle(const QString& cmd, const QJsonObject& cmdinfo);
    // The same for a request read off the link, whose lists come as entries.
    QVector<ReplyStep> handle(const EditorRequest& request);

    // Replies to reads of addresses containing `substring` report `type`
    // instead of the stored type (fault injection for the plug-in's tests).
    void addForcedType(const QString& substring, int type);

    ConsoleMemory& memory() { return memory_; }
    const ConsoleMemory& memory() const { return memory_; }
    SceneStore& scenes() { return scenes_; }
    const SceneStore& scenes() const { return scenes_; }
    QString windowVisibility() const { return windowVisibility_; }
    // Relative file paths are taken relative to the work directory.
    QString resolvePath(const QString& path) const;

private:
    ReplyStep getPrmVal(const QJsonObject& cmdinfo) const;
    ReplyStep getPrmData(const QVector<PrmEntry>& list) const;
    ReplyStep setPrmVal(const QJsonObject& cmdinfo);
    ReplyStep setPrmData(const QVector<PrmEntry>& list);
    ReplyStep getSceneInfo(const QJsonObject& cmdinfo) const;
    ReplyStep setSceneInfo(const QJsonObject& cmdinfo);
    ReplyStep sceneRecall(const QJsonObject& cmdinfo);
    ReplyStep sceneStore(const QJsonObject& cmdinfo);
    ReplyStep load(const QJsonObject& cmdinfo);
    ReplyStep save(const QJsonObject& cmdinfo);
    ReplyStep initCurrent();
    ReplyStep setWindowVisibility(const QJsonObject& cmdinfo);
    ReplyStep getWindowVisibility() const;

    // {"prmValue": ..., "prmType": ...} of one address, scene list rows included.
    bool readEntry(const QString& address, ReadValue* entry, QString* error) const;
    // Prepares a write; scene list rows are read-only.
    bool prepareWrite(const QString& address, const QJsonValue& value, bool numericStrings,
                      ConsoleMemory::Write* write, QString* error) const;
    // Category and scene number of a scene command.
    bool sceneOf(const QJsonObject& info, int* scene, QString* error) const;

    QString workDir_;
    ConsoleMemory memory_;
    SceneStore scenes_;
    QString windowVisibility_;
    QList<QPair<QString, int>> forcedTypes_;
};
