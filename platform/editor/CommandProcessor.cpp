#include "CommandProcessor.h"

#include "ConsoleFile.h"
#include "DefaultMemory.h"
#include "EditorRequest.h"

#include <QDateTime>
#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>

namespace {

// Scene 0.00: the console's read-only initial scene.
const char kInitialTitle[] = "Initial Data";
const char kInitialTimeStamp[] = "20000101000000";

ReplyStep ok(const QJsonObject& cmdinfo = QJsonObject())
{
    return ReplyStep{QStringLiteral("ok"), QStringLiteral("100"), cmdinfo};
}

ReplyStep ng(const QString& why)
{
    QJsonObject cmdinfo;
    cmdinfo.insert(QLatin1String("error"), why);
    return ReplyStep{QStringLiteral("ng"), QStringLiteral("100"), cmdinfo};
}

QJsonObject infoOf(const QJsonObject& cmdinfo)
{
    return cmdinfo.value(QLatin1String("info")).toObject();
}

bool stringField(const QJsonObject& o, const char* key, QString* out)
{
    const QJsonValue v = o.value(QLatin1String(key));
    if (!v.isString())
        return false;
    *out = v.toString();
    return true;
}

QJsonObject valueInfo(const QJsonValue& value)
{
    QJsonObject info;
    info.insert(QLatin1String("prmValue"), value);
    QJsonObject cmdinfo;
    cmdinfo.insert(QLatin1String("info"), info);
    return cmdinfo;
}

} // namespace

CommandProcessor::CommandProcessor(const QString& workDir)
    : workDir_(workDir)
    , windowVisibility_(QStringLiteral("Normal"))
{
}

bool CommandProcessor::isLongCommand(const QString& cmd)
{
    return cmd == QLatin1String("set_load") || cmd == QLatin1String("set_save")
        || cmd == QLatin1String("set_scene_store") || cmd == QLatin1String("set_scene_recall")
        || cmd == QLatin1String("set_init_current");
}

void CommandProcessor::addForcedType(const QString& substring, int type)
{
    forcedTypes_.append(qMakePair(substring, type));
}

QString CommandProcessor::resolvePath(const QString& path) const
{
    return QDir(workDir_).absoluteFilePath(path);
}

QVector<ReplyStep> CommandProcessor::handle(const QString& cmd, const QJsonObject& cmdinfo)
{
    EditorRequest request;
    request.cmd = cmd;
    request.cmdinfo = cmdinfo;
    const QJsonValue list = cmdinfo.value(QLatin1String("list"));
    if (list.isArray()) {
        request.hasList = true;
        for (const QJsonValue& element : list.toArray()) {
            const QJsonObject o = element.toObject();
            PrmEntry entry;
            entry.hasAddress = o.value(QLatin1String("prmAddr")).isString();
            entry.address = o.value(QLatin1String("prmAddr")).toString();
            entry.value = o.value(QLatin1String("prmValue"));
            request.list.append(entry);
        }
    }
    return handle(request);
}

QVector<ReplyStep> CommandProcessor::handle(const EditorRequest& request)
{
    const QString& cmd = request.cmd;
    const QJsonObject& cmdinfo = request.cmdinfo;
    QVector<ReplyStep> steps;
    if (isLongCommand(cmd))
        steps.append(ReplyStep{QStringLiteral("progress"), QStringLiteral("50"), QJsonObject()});

    const bool listCommand = cmd == QLatin1String("getData_prm_val") || cmd == QLatin1String("setData_prm_val");
    if (listCommand && !request.hasList)
        steps.append(ng(QStringLiteral("list missing")));
    else if (cmd == QLatin1String("get_prm_val"))
        steps.append(getPrmVal(cmdinfo));
    else if (cmd == QLatin1String("getData_prm_val"))
        steps.append(getPrmData(request.list));
    else if (cmd == QLatin1String("set_prm_val"))
        steps.append(setPrmVal(cmdinfo));
    else if (cmd == QLatin1String("setData_prm_val"))
        steps.append(setPrmData(request.list));
    else if (cmd == QLatin1String("get_scene_info"))
        steps.append(getSceneInfo(cmdinfo));
    else if (cmd == QLatin1String("set_scene_info"))
        steps.append(setSceneInfo(cmdinfo));
    else if (cmd == QLatin1String("set_scene_recall"))
        steps.append(sceneRecall(cmdinfo));
    else if (cmd == QLatin1String("set_scene_store"))
        steps.append(sceneStore(cmdinfo));
    else if (cmd == QLatin1String("set_load"))
        steps.append(load(cmdinfo));
    else if (cmd == QLatin1String("set_save"))
        steps.append(save(cmdinfo));
    else if (cmd == QLatin1String("set_init_current"))
        steps.append(initCurrent());
    else if (cmd == QLatin1String("set_window_visibility"))
        steps.append(setWindowVisibility(cmdinfo));
    else if (cmd == QLatin1String("get_window_visibility"))
        steps.append(getWindowVisibility());
    else
        steps.append(ng(QStringLiteral("unknown command \"%1\"").arg(cmd)));
    return steps;
}

bool CommandProcessor::readEntry(const QString& address, ReadValue* entry, QString* error) const
{
    const QString key = memory_.defaults().normalise(address);
    ConsoleValue value;
    int row = 0;
    if (SceneStore::parseListAddress(key, &row)) {
        value = ConsoleValue::text(scenes_.listRow(row));
    } else if (!memory_.readKey(key, &value)) {
        *error = QStringLiteral("unknown address %1").arg(address);
        return false;
    }
    int type = value.type();
    QJsonValue json = value.toJson();
    for (const auto& forced : forcedTypes_) {
        if (key.contains(forced.first)) {
            type = forced.second;
            json = value.toJsonAs(type);
            break;
        }
    }
    entry->type = type;
    entry->value = json;
    return true;
}

bool CommandProcessor::prepareWrite(const QString& address, const QJsonValue& value,
                                    bool numericStrings, ConsoleMemory::Write* write,
                                    QString* error) const
{
    if (memory_.prepare(address, value, numericStrings, write, error))
        return true;
    // Scene list rows are not in the memory: say why they cannot be written.
    int row = 0;
    if (SceneStore::parseListAddress(write->key, &row))
        *error = QStringLiteral("%1 is read-only").arg(address);
    return false;
}

ReplyStep CommandProcessor::getPrmVal(const QJsonObject& cmdinfo) const
{
    QString address;
    if (!stringField(infoOf(cmdinfo), "prmAddr", &address))
        return ng(QStringLiteral("prmAddr missing"));
    ReadValue entry;
    QString error;
    if (!readEntry(address, &entry, &error))
        return ng(error);
    QJsonObject info;
    info.insert(QLatin1String("prmValue"), entry.value);
    info.insert(QLatin1String("prmType"), entry.type);
    QJsonObject reply;
    reply.insert(QLatin1String("info"), info);
    return ok(reply);
}

ReplyStep CommandProcessor::getPrmData(const QVector<PrmEntry>& list) const
{
    ReplyStep reply = ok();
    reply.hasList = true;
    reply.list.resize(list.size());
    for (int i = 0; i < list.size(); ++i) {
        if (!list[i].hasAddress)
            return ng(QStringLiteral("list element without prmAddr"));
        QString error;
        if (!readEntry(list[i].address, &reply.list[i], &error))
            return ng(error);
    }
    return reply;
}

ReplyStep CommandProcessor::setPrmVal(const QJsonObject& cmdinfo)
{
    const QJsonObject info = infoOf(cmdinfo);
    QString address;
    if (!stringField(info, "prmAddr", &address))
        return ng(QStringLiteral("prmAddr missing"));
    ConsoleMemory::Write write;
    QString error;
    if (!prepareWrite(address, info.value(QLatin1String("prmValue")), false, &write, &error))
        return ng(error);
    memory_.apply(write);
    return ok();
}

ReplyStep CommandProcessor::setPrmData(const QVector<PrmEntry>& list)
{
    // All or nothing: every element is checked before any is applied, and
    // they are applied in list order, so a later write to an address wins.
    QVector<ConsoleMemory::Write> writes(list.size());
    for (int i = 0; i < list.size(); ++i) {
        if (!list[i].hasAddress)
            return ng(QStringLiteral("list element without prmAddr"));
        QString error;
        if (!prepareWrite(list[i].address, list[i].value, true, &writes[i], &error))
            return ng(error);
    }
    for (const ConsoleMemory::Write& w : writes)
        memory_.apply(w);
    return ok();
}

bool CommandProcessor::sceneOf(const QJsonObject& info, int* scene, QString* error) const
{
    QString category;
    QString number;
    if (!stringField(info, "prmSceneCategory", &category) || category != QLatin1String(SceneStore::Category)) {
        *error = QStringLiteral("unknown scene category \"%1\"").arg(category);
        return false;
    }
    if (!stringField(info, "prmSceneNumber", &number) || !SceneStore::parseSceneNumber(number, scene)) {
        *error = QStringLiteral("bad scene number \"%1\"").arg(number);
        return false;
    }
    return true;
}

ReplyStep CommandProcessor::getSceneInfo(const QJsonObject& cmdinfo) const
{
    const QJsonObject info = infoOf(cmdinfo);
    int scene = 0;
    QString error;
    if (!sceneOf(info, &scene, &error))
        return ng(error);
    QString type;
    stringField(info, "prmSceneInfoType", &type);

    SceneMemory initial;
    initial.title = QLatin1String(kInitialTitle);
    initial.protect = true;
    initial.timeStamp = QLatin1String(kInitialTimeStamp);
    const SceneMemory* s = scene == 0 ? &initial : scenes_.find(scene);
    if (!s)
        return ng(QStringLiteral("no scene %1").arg(SceneStore::formatSceneNumber(scene)));

    if (type == QLatin1String("Title"))
        return ok(valueInfo(s->title));
    if (type == QLatin1String("Comment"))
        return ok(valueInfo(s->comment));
    if (type == QLatin1String("Protect"))
        return ok(valueInfo(QLatin1String(s->protect ? "on" : "off")));
    if (type == QLatin1String("TimeStamp"))
        return ok(valueInfo(s->timeStamp));
    return ng(QStringLiteral("unknown scene information \"%1\"").arg(type));
}

ReplyStep CommandProcessor::setSceneInfo(const QJsonObject& cmdinfo)
{
    const QJsonObject info = infoOf(cmdinfo);
    int scene = 0;
    QString error;
    if (!sceneOf(info, &scene, &error))
        return ng(error);
    QString type;
    QString value;
    stringField(info, "prmSceneInfoType", &type);
    if (!stringField(info, "prmValue", &value))
        return ng(QStringLiteral("prmValue missing"));
    if (scene == 0)
        return ng(QStringLiteral("scene 0.00 is read-only"));
    SceneMemory* s = scenes_.find(scene);
    if (!s)
        return ng(QStringLiteral("no scene %1").arg(SceneStore::formatSceneNumber(scene)));

    if (type == QLatin1String("Title") || type == QLatin1String("Comment")) {
        if (value.toUtf8().size() > ConsoleValue::MaxTextBytes)
            return ng(QStringLiteral("text too long"));
        (type == QLatin1String("Title") ? s->title : s->comment) = value;
        return ok();
    }
    if (type == QLatin1String("Protect")) {
        if (value != QLatin1String("on") && value != QLatin1String("off"))
            return ng(QStringLiteral("protect must be on or off"));
        s->protect = value == QLatin1String("on");
        return ok();
    }
    if (type == QLatin1String("TimeStamp")) {
        if (!SceneStore::isValidTimeStamp(value))
            return ng(QStringLiteral("bad time stamp \"%1\"").arg(value));
        s->timeStamp = value;
        return ok();
    }
    return ng(QStringLiteral("unknown scene information \"%1\"").arg(type));
}

ReplyStep CommandProcessor::sceneRecall(const QJsonObject& cmdinfo)
{
    int scene = 0;
    QString error;
    if (!sceneOf(infoOf(cmdinfo), &scene, &error))
        return ng(error);
    if (scene == 0) {
        memory_.reset();
        return ok();
    }
    const SceneMemory* s = scenes_.find(scene);
    if (!s)
        return ng(QStringLiteral("no scene %1").arg(SceneStore::formatSceneNumber(scene)));
    memory_.setChanges(s->memory);
    return ok();
}

ReplyStep CommandProcessor::sceneStore(const QJsonObject& cmdinfo)
{
    const QJsonObject info = infoOf(cmdinfo);
    int scene = 0;
    QString error;
    if (!sceneOf(info, &scene, &error))
        return ng(error);
    if (scene == 0)
        return ng(QStringLiteral("scene 0.00 is read-only"));
    SceneMemory s;
    if (!stringField(info, "prmSceneTitle", &s.title) || !stringField(info, "prmSceneComment", &s.comment))
        return ng(QStringLiteral("prmSceneTitle or prmSceneComment missing"));
    if (s.title.toUtf8().size() > ConsoleValue::MaxTextBytes
        || s.comment.toUtf8().size() > ConsoleValue::MaxTextBytes)
        return ng(QStringLiteral("text too long"));
    if (const SceneMemory* old = scenes_.find(scene))
        s.protect = old->protect;
    s.timeStamp = QDateTime::currentDateTime().toString(QLatin1String(SceneStore::TimeStampFormat));
    s.memory = memory_.changes();
    scenes_.store(scene, s);
    return ok();
}

ReplyStep CommandProcessor::load(const QJsonObject& cmdinfo)
{
    QString path;
    if (!stringField(infoOf(cmdinfo), "path", &path) || path.isEmpty())
        return ng(QStringLiteral("path missing"));
    QString error;
    if (!ConsoleFile::load(resolvePath(path), &memory_, &scenes_, &error))
        return ng(error);
    return ok();
}

ReplyStep CommandProcessor::save(const QJsonObject& cmdinfo)
{
    QString path;
    if (!stringField(infoOf(cmdinfo), "path", &path) || path.isEmpty())
        return ng(QStringLiteral("path missing"));
    QString error;
    if (!ConsoleFile::save(resolvePath(path), memory_, scenes_, &error))
        return ng(error);
    return ok();
}

ReplyStep CommandProcessor::initCurrent()
{
    memory_.reset();
    return ok();
}

ReplyStep CommandProcessor::setWindowVisibility(const QJsonObject& cmdinfo)
{
    static const char* const known[] = {"Hidden", "Minimized", "Maximized", "Normal", "Shown"};
    QString visibility;
    if (!stringField(infoOf(cmdinfo), "prmWindowVisibility", &visibility))
        return ng(QStringLiteral("prmWindowVisibility missing"));
    for (const char* k : known) {
        if (visibility == QLatin1String(k)) {
            windowVisibility_ = visibility;
            return ok();
        }
    }
    return ng(QStringLiteral("unknown window visibility \"%1\"").arg(visibility));
}

ReplyStep CommandProcessor::getWindowVisibility() const
{
    QJsonObject info;
    info.insert(QLatin1String("prmWindowVisibility"), windowVisibility_);
    QJsonObject cmdinfo;
    cmdinfo.insert(QLatin1String("info"), info);
    return ok(cmdinfo);
}
