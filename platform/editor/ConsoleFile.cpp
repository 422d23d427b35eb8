#include "ConsoleFile.h"

#include "ConsoleMemory.h"
#include "SceneStore.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

const char* const ConsoleFile::FormatTag = "KX9F";

namespace {

QJsonObject memoryToJson(const ConsoleMemory::Changes& changes)
{
    QJsonObject out;
    for (auto it = changes.constBegin(); it != changes.constEnd(); ++it)
        out.insert(it.key(), it.value().toJson());
    return out;
}

bool memoryFromJson(const QJsonValue& json, const ConsoleMemory& checker,
                    ConsoleMemory::Changes* out, const QString& where, QString* error)
{
    if (!json.isObject()) {
        *error = QStringLiteral("%1: object expected").arg(where);
        return false;
    }
    const QJsonObject object = json.toObject();
    for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
        ConsoleMemory::Write write;
        QString why;
        if (!checker.prepare(it.key(), it.value(), false, &write, &why)) {
            *error = QStringLiteral("%1: %2").arg(where, why);
            return false;
        }
        if (out->contains(write.key)) {
            *error = QStringLiteral("%1: address %2 given twice").arg(where, write.key);
            return false;
        }
        out->insert(write.key, write.value);
    }
    return true;
}

bool sceneFromJson(const QJsonValue& json, const ConsoleMemory& checker, int* number,
                   SceneMemory* scene, QString* error)
{
    if (!json.isObject()) {
        *error = QStringLiteral("scene: object expected");
        return false;
    }
    const QJsonObject o = json.toObject();
    const QString text = o.value(QLatin1String("number")).toString();
    if (!SceneStore::parseSceneNumber(text, number) || *number == 0) {
        *error = QStringLiteral("scene: bad number \"%1\"").arg(text);
        return false;
    }
    const QString where = QStringLiteral("scene %1").arg(text);
    const QJsonValue title = o.value(QLatin1String("title"));
    const QJsonValue comment = o.value(QLatin1String("comment"));
    const QJsonValue protect = o.value(QLatin1String("protect"));
    const QJsonValue stamp = o.value(QLatin1String("timeStamp"));
    if (!title.isString() || !comment.isString() || !protect.isBool() || !stamp.isString()) {
        *error = QStringLiteral("%1: title, comment, protect or timeStamp missing").arg(where);
        return false;
    }
    if (!SceneStore::isValidTimeStamp(stamp.toString())) {
        *error = QStringLiteral("%1: bad time stamp").arg(where);
        return false;
    }
    scene->title = title.toString();
    scene->comment = comment.toString();
    scene->protect = protect.toBool();
    scene->timeStamp = stamp.toString();
    return memoryFromJson(o.value(QLatin1String("memory")), checker, &scene->memory, where, error);
}

} // namespace

bool ConsoleFile::save(const QString& path, const ConsoleMemory& current, const SceneStore& scenes,
                       QString* error)
{
    if (path.isEmpty()) {
        *error = QStringLiteral("empty path");
        return false;
    }
    QJsonArray sceneArray;
    const QMap<int, SceneMemory>& all = scenes.scenes();
    for (auto it = all.constBegin(); it != all.constEnd(); ++it) {
        QJsonObject s;
        s.insert(QLatin1String("number"), SceneStore::formatSceneNumber(it.key()));
        s.insert(QLatin1String("title"), it->title);
        s.insert(QLatin1String("comment"), it->comment);
        s.insert(QLatin1String("protect"), it->protect);
        s.insert(QLatin1String("timeStamp"), it->timeStamp);
        s.insert(QLatin1String("memory"), memoryToJson(it->memory));
        sceneArray.append(s);
    }
    QJsonObject root;
    root.insert(QLatin1String("format"), QLatin1String(FormatTag));
    root.insert(QLatin1String("version"), Version);
    root.insert(QLatin1String("current"), memoryToJson(current.changes()));
    root.insert(QLatin1String("scenes"), sceneArray);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    const QByteArray bytes = QJsonDocument(root).toJson(QJsonDocument::Indented);
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

bool ConsoleFile::load(const QString& path, ConsoleMemory* current, SceneStore* scenes,
                       QString* error)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot open %1").arg(path);
        return false;
    }
    if (file.size() > MaxFileBytes) {
        *error = QStringLiteral("%1 is too large").arg(path);
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (doc.isNull() || !doc.isObject()) {
        *error = QStringLiteral("%1 is not a console file: %2").arg(path, parseError.errorString());
        return false;
    }
    const QJsonObject root = doc.object();
    if (root.value(QLatin1String("format")).toString() != QLatin1String(FormatTag)) {
        *error = QStringLiteral("%1 is not a %2 file").arg(path, QLatin1String(FormatTag));
        return false;
    }
    const QJsonValue version = root.value(QLatin1String("version"));
    if (!version.isDouble() || version.toDouble() != Version) {
        *error = QStringLiteral("%1: unsupported version").arg(path);
        return false;
    }
    ConsoleMemory::Changes newCurrent;
    if (!memoryFromJson(root.value(QLatin1String("current")), *current, &newCurrent,
                        QStringLiteral("current memory"), error))
        return false;
    const QJsonValue sceneList = root.value(QLatin1String("scenes"));
    if (!sceneList.isArray()) {
        *error = QStringLiteral("%1: scene list missing").arg(path);
        return false;
    }
    SceneStore newScenes;
    for (const QJsonValue& entry : sceneList.toArray()) {
        int number = 0;
        SceneMemory scene;
        if (!sceneFromJson(entry, *current, &number, &scene, error))
            return false;
        if (newScenes.contains(number)) {
            *error = QStringLiteral("scene %1 given twice").arg(SceneStore::formatSceneNumber(number));
            return false;
        }
        newScenes.store(number, scene);
    }
    current->setChanges(newCurrent);
    *scenes = newScenes;
    return true;
}
