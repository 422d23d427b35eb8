#include "params/Journal.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QLoggingCategory>
#include <QString>
#include <QVariant>

namespace {

// Off unless a host asks for it.
Q_LOGGING_CATEGORY(lcJournal, "qora.journal", QtWarningMsg)

void emitEvent(const QJsonObject& event)
{
    qCInfo(lcJournal, "%s", QJsonDocument(event).toJson(QJsonDocument::Compact).constData());
}

QJsonObject unitEvent(const char* name, bool plugin, int unit, int type, const char* typeName, int size)
{
    return QJsonObject{{"event", QLatin1String(name)},
                       {"kind", QLatin1String(plugin ? "plugin" : "fx")},
                       {"unit", unit},
                       {"type", type},
                       {"name", QString::fromUtf8(typeName ? typeName : "")},
                       {"size", size}};
}

} // namespace

const QLoggingCategory& Journal::category()
{
    return lcJournal();
}

void Journal::refused(const QString& address, const QVariant& value, const QString& reason)
{
    if (!lcJournal().isInfoEnabled())
        return;
    emitEvent(QJsonObject{{"event", QLatin1String("refused")},
                          {"address", address},
                          {"value", QJsonValue::fromVariant(value)},
                          {"reason", reason}});
}

void Journal::placed(bool plugin, int unit, int type, const char* typeName, int size, int rack, int slot)
{
    if (!lcJournal().isInfoEnabled())
        return;
    QJsonObject event = unitEvent("placed", plugin, unit, type, typeName, size);
    event.insert("rack", rack);
    if (plugin)
        event.insert("slot", slot);
    emitEvent(event);
}

void Journal::unplaced(bool plugin, int unit, int type, const char* typeName, int size)
{
    if (lcJournal().isInfoEnabled())
        emitEvent(unitEvent("unplaced", plugin, unit, type, typeName, size));
}

void Journal::dropped(bool plugin, int unit, const std::string& parameter)
{
    if (!lcJournal().isInfoEnabled())
        return;
    emitEvent(QJsonObject{{"event", QLatin1String("dropped")},
                          {"kind", QLatin1String(plugin ? "plugin" : "fx")},
                          {"unit", unit},
                          {"parameter", QString::fromStdString(parameter)}});
}

void Journal::editorGone()
{
    if (lcJournal().isInfoEnabled())
        emitEvent(QJsonObject{{"event", QLatin1String("editorGone")}});
}
