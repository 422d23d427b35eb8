#include "link/JsonCodec.h"

#include "host/ConverterException.h"
#include "link/CompactJson.h"
#include "link/ListValue.h"
#include "support/OVariant.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>

const char* const JsonCodec::KindConnected = "connected";
const char* const JsonCodec::KindRequest = "request";
const char* const JsonCodec::KindReply = "reply";
const char* const JsonCodec::KindNotify = "notify";
const char* const JsonCodec::KindAbort = "abort";

namespace {

const QLatin1String kBinaryMarker("d:");

QJsonObject topLevel(const QByteArray& message)
{
    const QJsonDocument doc = QJsonDocument::fromJson(message);
    return doc.isObject() ? doc.object() : QJsonObject();
}

QString stringField(const QJsonObject& object, const char* key)
{
    const QJsonValue v = object.value(QLatin1String(key));
    return v.isString() ? v.toString() : QString();
}

QByteArray compact(const char* kind, const QJsonObject& inner)
{
    QJsonObject outer;
    outer.insert(QLatin1String(kind), inner);
    return QJsonDocument(outer).toJson(QJsonDocument::Compact);
}

// A map entry's scalar as jsonToVariantMap keeps it.
QVariant scalarOf(const QString& key, const QJsonValue& v)
{
    if (v.isDouble())
        return v.toDouble();
    if (v.isBool())
        return v.toBool();
    const QString text = v.toString();
    if (key.contains(kBinaryMarker))
        return QByteArray::fromBase64(text.toUtf8());
    return text;
}

void insertJson(QVariantMap& out, const QString& key, const QJsonValue& v)
{
    if (v.isArray()) {
        QVariantList list;
        JsonCodec::jsonToVariantList(list, v.toArray());
        out.insert(key, list);
    } else if (v.isObject()) {
        QVariantMap map;
        JsonCodec::jsonToVariantMap(map, v.toObject());
        out.insert(key, map);
    } else {
        out.insert(key, scalarOf(key, v));
    }
}

// A list of maps whose "prmValue" and "prmType" are scalars or missing, as
// ListValues; false for anything else, which then takes the general route.
bool toListValues(const QJsonValue& list, ListValues& out)
{
    if (!list.isArray())
        return false;
    const QJsonArray array = list.toArray();
    const QString valueKey = QStringLiteral("prmValue");
    const QString typeKey = QStringLiteral("prmType");
    const auto scalar = [](const QString& key, const QJsonValue& v, QVariant& to) {
        if (v.isArray() || v.isObject())
            return false;
        if (!v.isUndefined())
            to = scalarOf(key, v);
        return true;
    };
    out.entries.reserve(array.size());
    for (const QJsonValue& element : array) {
        if (!element.isObject())
            return false;
        const QJsonObject entry = element.toObject();
        ListValue value;
        if (!scalar(valueKey, entry.value(valueKey), value.value) || !scalar(typeKey, entry.value(typeKey), value.type))
            return false;
        out.entries.append(value);
    }
    return true;
}

bool isList(const QVariant& v) { return v.userType() == QMetaType::QVariantList; }
bool isMap(const QVariant& v) { return v.userType() == QMetaType::QVariantMap; }

} // namespace

QJsonObject JsonCodec::parseMessage(const QByteArray& message)
{
    return topLevel(message);
}

QString JsonCodec::messageKind(const QByteArray& message)
{
    return messageKind(topLevel(message));
}

QString JsonCodec::messageKind(const QJsonObject& object)
{
    for (const char* kind : {KindConnected, KindRequest, KindReply, KindNotify, KindAbort}) {
        if (object.contains(QLatin1String(kind)))
            return QString::fromLatin1(kind);
    }
    return QString();
}

bool JsonCodec::makeRequestMessage(QByteArray& out, const QString& serverName, const QString& deviceUID,
                                   const QString& reqUID, const QString& cmdKey, const QVariantMap& params)
{
    QByteArray text;
    if (CompactJson::appendMap(text, params)) {
        makeRequestMessage(out, serverName, deviceUID, reqUID, cmdKey, text);
        return true;
    }

    QJsonObject cmdinfo;
    variantMapToJson(cmdinfo, params);
    QJsonObject inner;
    inner.insert(QStringLiteral("from"), serverName);
    inner.insert(QStringLiteral("to"), deviceUID);
    inner.insert(QStringLiteral("reqid"), reqUID);
    inner.insert(QStringLiteral("cmd"), cmdKey);
    inner.insert(QStringLiteral("cmdinfo"), cmdinfo);
    out.clear();
    out.append(compact(KindRequest, inner));
    return true;
}

void JsonCodec::makeRequestMessage(QByteArray& out, const QString& serverName, const QString& deviceUID,
                                   const QString& reqUID, const QString& cmdKey, const QByteArray& cmdinfo)
{
    // The keys in QJsonObject's order, so the text is the document's.
    out.clear();
    out.reserve(cmdinfo.size() + 200);
    out.append("{\"request\":{\"cmd\":");
    CompactJson::appendString(out, cmdKey);
    out.append(",\"cmdinfo\":");
    out.append(cmdinfo);
    out.append(",\"from\":");
    CompactJson::appendString(out, serverName);
    out.append(",\"reqid\":");
    CompactJson::appendString(out, reqUID);
    out.append(",\"to\":");
    CompactJson::appendString(out, deviceUID);
    out.append("}}");
}

QByteArray JsonCodec::readListInfo(const QStringList& addresses)
{
    QByteArray out;
    int length = 0;
    for (const QString& address : addresses)
        length += address.size();
    out.reserve(length + addresses.size() * 14 + 12);
    out.append("{\"list\":[");
    for (int i = 0; i < addresses.size(); ++i) {
        out.append(i == 0 ? "{\"prmAddr\":" : ",{\"prmAddr\":");
        CompactJson::appendString(out, addresses.at(i));
        out.append('}');
    }
    out.append("]}");
    return out;
}

bool JsonCodec::makeAbortMessage(QByteArray& out, const QString& serverName, const QString& reqUID)
{
    QJsonObject inner;
    inner.insert(QStringLiteral("from"), serverName);
    inner.insert(QStringLiteral("reqid"), reqUID);
    out.clear();
    out.append(compact(KindAbort, inner));
    return true;
}

bool JsonCodec::parseConnectedMessage(QString& deviceUID, const QByteArray& message)
{
    return parseConnectedMessage(deviceUID, topLevel(message));
}

bool JsonCodec::parseConnectedMessage(QString& deviceUID, const QJsonObject& object)
{
    if (!object.contains(QLatin1String(KindConnected)))
        return false;
    deviceUID = stringField(object.value(QLatin1String(KindConnected)).toObject(), "from");
    return true;
}

bool JsonCodec::parseReplyMessage(QString& from, QString& to, QString& reqUID, QString& cmdKey,
                                  QVariantMap& info, QString& result, unsigned long& progress,
                                  const QByteArray& message)
{
    return parseReplyMessage(from, to, reqUID, cmdKey, info, result, progress, topLevel(message));
}

bool JsonCodec::parseReplyMessage(QString& from, QString& to, QString& reqUID, QString& cmdKey,
                                  QVariantMap& info, QString& result, unsigned long& progress,
                                  const QJsonObject& object)
{
    return parseReplyMessage(from, to, reqUID, cmdKey, info, result, progress, object, false);
}

bool JsonCodec::parseReplyMessage(QString& from, QString& to, QString& reqUID, QString& cmdKey,
                                  QVariantMap& info, QString& result, unsigned long& progress,
                                  const QJsonObject& object, bool compactLists)
{
    if (!object.contains(QLatin1String(KindReply)))
        return false;
    const QJsonObject inner = object.value(QLatin1String(KindReply)).toObject();
    from = stringField(inner, "from");
    to = stringField(inner, "to");
    reqUID = stringField(inner, "reqid");
    cmdKey = stringField(inner, "cmd");
    result = stringField(inner, "result");
    bool ok = false;
    progress = stringField(inner, "progress").toULong(&ok, 10);
    if (!ok)
        progress = 0;
    const QJsonObject cmdinfo = inner.value(QStringLiteral("cmdinfo")).toObject();
    if (!compactLists || cmdKey != QLatin1String("getData_prm_val")) {
        jsonToVariantMap(info, cmdinfo);
        return true;
    }
    const QLatin1String listKey("list");
    for (auto it = cmdinfo.constBegin(); it != cmdinfo.constEnd(); ++it) {
        ListValues values;
        if (it.key() == listKey && toListValues(it.value(), values))
            info.insert(it.key(), QVariant::fromValue(values));
        else
            insertJson(info, it.key(), it.value());
    }
    return true;
}

bool JsonCodec::parseNotifyMessage(QString& from, QString& cmdKey, QVariantMap& info, const QByteArray& message)
{
    return parseNotifyMessage(from, cmdKey, info, topLevel(message));
}

bool JsonCodec::parseNotifyMessage(QString& from, QString& cmdKey, QVariantMap& info, const QJsonObject& object)
{
    if (!object.contains(QLatin1String(KindNotify)))
        return false;
    const QJsonObject inner = object.value(QLatin1String(KindNotify)).toObject();
    from = stringField(inner, "from");
    cmdKey = stringField(inner, "cmd");
    jsonToVariantMap(info, inner.value(QStringLiteral("cmdinfo")).toObject());
    return true;
}

bool JsonCodec::variantMapToJson(QJsonObject& out, const QVariantMap& map)
{
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        const QVariant& v = it.value();
        if (isList(v)) {
            QJsonArray array;
            variantListToJson(array, v.toList());
            out.insert(it.key(), array);
        } else if (isMap(v)) {
            QJsonObject object;
            variantMapToJson(object, v.toMap());
            out.insert(it.key(), object);
        } else if (v.userType() == QMetaType::Bool) {
            out.insert(it.key(), v.toBool());
        } else if (v.userType() == QMetaType::Double) {
            out.insert(it.key(), v.toDouble());
        } else if (v.userType() == QMetaType::Int || v.userType() == QMetaType::UInt) {
            // Unsigned values keep their 32 bits and travel as signed numbers.
            out.insert(it.key(), static_cast<qint32>(v.toUInt()));
        } else if (it.key().contains(kBinaryMarker)) {
            out.insert(it.key(), QString::fromLatin1(v.toByteArray().toBase64()));
        } else {
            out.insert(it.key(), v.toString());
        }
    }
    return true;
}

bool JsonCodec::variantListToJson(QJsonArray& out, const QVariantList& list)
{
    for (const QVariant& v : list) {
        if (isList(v)) {
            QJsonArray array;
            variantListToJson(array, v.toList());
            out.append(array);
        } else if (isMap(v)) {
            QJsonObject object;
            variantMapToJson(object, v.toMap());
            out.append(object);
        } else {
            out.append(v.toString());
        }
    }
    return true;
}

bool JsonCodec::jsonToVariantMap(QVariantMap& out, const QJsonObject& object)
{
    for (auto it = object.constBegin(); it != object.constEnd(); ++it)
        insertJson(out, it.key(), it.value());
    return true;
}

bool JsonCodec::jsonToVariantList(QVariantList& out, const QJsonArray& array)
{
    for (const QJsonValue& v : array) {
        if (v.isObject()) {
            QVariantMap map;
            jsonToVariantMap(map, v.toObject());
            out.append(map);
        } else if (v.isString()) {
            out.append(v.toString());
        } else if (v.isArray()) {
            // Kept nested, the mirror of the encoding.
            QVariantList inner;
            jsonToVariantList(inner, v.toArray());
            out.append(QVariant(inner));
        } else {
            out.append(QString());
        }
    }
    return true;
}

OVariant JsonCodec::convertQVariantToOVariant(const QVariant& value, int type)
{
    OVariant result;
    switch (type) {
    case 1:
    case 2:
    case 4:
        result = static_cast<int>(value.toInt());
        break;
    case 8:
    case 16:
    case 32:
    case 256:
        result = static_cast<unsigned int>(value.toUInt());
        break;
    case 64: {
        const QByteArray text = value.toString().toUtf8();
        result.setString(text.constData(), static_cast<std::uint32_t>(text.size()));
        break;
    }
    case 128:
        result = value.toFloat();
        break;
    default:
        throw new ConverterException("convertQVariantToOVariant: Unsupported type.");
    }
    return result;
}

QVariant JsonCodec::convertOVariantToQVariant(const OVariant& value)
{
    switch (value.type()) {
    case OVariant::Integer:
        return QVariant(static_cast<int>(value.toInt()));
    case OVariant::Unsigned:
        return QVariant(static_cast<uint>(value.toInt()));
    case OVariant::String:
        return QVariant(QString::fromUtf8(value.toString()));
    case OVariant::Real:
        return QVariant(value.toFloat());
    case OVariant::Binary:
        return QVariant(QByteArray(reinterpret_cast<const char*>(value.toBinary()),
                                   static_cast<int>(value.size())));
    default:
        throw new ConverterException("convertOVariantToQVariant: Unsupported type.");
    }
}
