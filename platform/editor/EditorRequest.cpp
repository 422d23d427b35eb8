#include "EditorRequest.h"

#include <QByteArray>
#include <QJsonArray>

#include <rapidjson/document.h>

namespace {

using Value = rapidjson::Value;

QString text(const Value& v)
{
    return QString::fromUtf8(v.GetString(), int(v.GetStringLength()));
}

QString stringMember(const Value& object, const char* key)
{
    const auto it = object.FindMember(key);
    return it != object.MemberEnd() && it->value.IsString() ? text(it->value) : QString();
}

QJsonValue toJson(const Value& v);

QJsonObject toObject(const Value& v)
{
    QJsonObject object;
    for (auto it = v.MemberBegin(); it != v.MemberEnd(); ++it)
        object.insert(text(it->name), toJson(it->value));
    return object;
}

QJsonValue toJson(const Value& v)
{
    switch (v.GetType()) {
    case rapidjson::kNullType: return QJsonValue(QJsonValue::Null);
    case rapidjson::kFalseType: return QJsonValue(false);
    case rapidjson::kTrueType: return QJsonValue(true);
    case rapidjson::kNumberType: return QJsonValue(v.GetDouble());
    case rapidjson::kStringType: return QJsonValue(text(v));
    case rapidjson::kObjectType: return toObject(v);
    case rapidjson::kArrayType: {
        QJsonArray array;
        for (const Value& element : v.GetArray())
            array.append(toJson(element));
        return array;
    }
    }
    return QJsonValue();
}

PrmEntry entryOf(const Value& element)
{
    PrmEntry entry;
    if (!element.IsObject())
        return entry;
    const auto address = element.FindMember("prmAddr");
    if (address != element.MemberEnd() && address->value.IsString()) {
        entry.address = text(address->value);
        entry.hasAddress = true;
    }
    const auto value = element.FindMember("prmValue");
    if (value != element.MemberEnd())
        entry.value = toJson(value->value);
    return entry;
}

} // namespace

bool EditorRequest::parse(const QByteArray& line, EditorRequest* out)
{
    rapidjson::Document doc;
    // Iterative: a hostile line of nested brackets must not exhaust the
    // stack. Invalid UTF-8 is refused, as any strict JSON reader does.
    doc.Parse<rapidjson::kParseIterativeFlag | rapidjson::kParseValidateEncodingFlag>(line.constData(),
                                                                                     size_t(line.size()));
    if (doc.HasParseError() || !doc.IsObject())
        return false;

    *out = EditorRequest();
    const auto request = doc.FindMember("request");
    if (request != doc.MemberEnd()) {
        out->kind = Kind::Request;
        if (!request->value.IsObject())
            return true;
        const Value& inner = request->value;
        out->from = stringMember(inner, "from");
        out->to = stringMember(inner, "to");
        out->reqid = stringMember(inner, "reqid");
        out->cmd = stringMember(inner, "cmd");
        const auto cmdinfo = inner.FindMember("cmdinfo");
        if (cmdinfo == inner.MemberEnd() || !cmdinfo->value.IsObject())
            return true;
        for (auto it = cmdinfo->value.MemberBegin(); it != cmdinfo->value.MemberEnd(); ++it) {
            if (it->name == "list" && it->value.IsArray()) {
                out->hasList = true;
                out->list.reserve(int(it->value.Size()));
                for (const Value& element : it->value.GetArray())
                    out->list.append(entryOf(element));
            } else {
                out->cmdinfo.insert(text(it->name), toJson(it->value));
            }
        }
        return true;
    }
    const auto abort = doc.FindMember("abort");
    if (abort != doc.MemberEnd()) {
        out->kind = Kind::Abort;
        if (abort->value.IsObject())
            out->reqid = stringMember(abort->value, "reqid");
    }
    return true;
}
