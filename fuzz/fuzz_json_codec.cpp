// Runs every message parser and the kind detection over arbitrary bytes, and
// pushes whatever object they find through the map rules both ways.
#include "link/JsonCodec.h"

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
