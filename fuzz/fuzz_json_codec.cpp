// Runs every message parser and the kind detection over arbitrary bytes, and
// pushes whatever object they find through the map rules both ways.
#include "link/JsonCodec.h"
#include "link/ListValue.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray message(reinterpret_cast<const char*>(data), int(size));
    const QString kind = JsonCodec::messageKind(message);
    QString deviceUID, from, to, reqUID, cmdKey, result;
    QVariantMap info, notifyInfo;
    unsigned long progress = 0;
    JsonCodec::parseConnectedMessage(deviceUID, message);
    const bool isReply = JsonCodec::parseReplyMessage(from, to, reqUID, cmdKey, info, result, progress, message);
    // A message of kind "reply" always parses as one.
    if (kind == QLatin1String(JsonCodec::KindReply) && !isReply)
        std::abort();
    JsonCodec::parseNotifyMessage(from, cmdKey, notifyInfo, message);

    // A list reply read compactly holds what the general reading holds.
    if (isReply) {
        QString compactKey;
        QVariantMap compact;
        JsonCodec::parseReplyMessage(from, to, reqUID, compactKey, compact, result, progress,
                                     QJsonDocument::fromJson(message).object(), true);
        const QVariant list = compact.value(QStringLiteral("list"));
        if (list.userType() == qMetaTypeId<ListValues>()) {
            const QVector<ListValue> entries = list.value<ListValues>().entries;
            const QVariantList maps = info.value(QStringLiteral("list")).toList();
            if (entries.size() != maps.size())
                std::abort();
            for (int i = 0; i < maps.size(); ++i) {
                const QVariantMap map = maps.at(i).toMap();
                if (entries[i].value != map.value(QStringLiteral("prmValue"))
                    || entries[i].type != map.value(QStringLiteral("prmType")))
                    std::abort();
            }
        } else if (compact != info) {
            std::abort();
        }
    }

    // Map rules: decode, encode, decode again must reach a fixed point.
    QVariantMap first, second;
    QJsonObject encoded, reencoded;
    JsonCodec::jsonToVariantMap(first, QJsonDocument::fromJson(message).object());
    JsonCodec::variantMapToJson(encoded, first);
    JsonCodec::jsonToVariantMap(second, encoded);
    JsonCodec::variantMapToJson(reencoded, second);
    if (encoded != reencoded)
        std::abort();

    QByteArray request;
    JsonCodec::makeRequestMessage(request, from, to, reqUID, cmdKey, info);
    if (JsonCodec::messageKind(request) != QLatin1String(JsonCodec::KindRequest))
        std::abort();
    return 0;
}
