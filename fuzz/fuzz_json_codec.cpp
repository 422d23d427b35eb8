// Runs every message parser and the kind detection over arbitrary bytes, and
// pushes whatever object they find through the map rules both ways.
#include "link/JsonCodec.h"

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <QVariantMap>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray message(reinterpret_cast<const char*>(data), int(size));

    const QString kind = JsonCodec::messageKind(message);

    QString deviceUID;
    JsonCodec::parseConnectedMessage(deviceUID, message);

    QString from, to, reqUID, cmdKey, result;
    QVariantMap info;
    unsigned long progress = 0;
    const bool isReply = JsonCodec::parseReplyMessage(from, to, reqUID, cmdKey, info, result, progress, message);
    // A message of kind "reply" always parses as one.
    if (kind == QLatin1String(JsonCodec::KindReply) && !isReply)
        std::abort();

    QVariantMap notifyInfo;
    JsonCodec::parseNotifyMessage(from, cmdKey, notifyInfo, message);

    // Map rules: decode, encode, decode again must reach a fixed point.
    const QJsonObject object = QJsonDocument::fromJson(message).object();
    QVariantMap first;
    JsonCodec::jsonToVariantMap(first, object);
    QJsonObject encoded;
    JsonCodec::variantMapToJson(encoded, first);
    QVariantMap second;
    JsonCodec::jsonToVariantMap(second, encoded);
    QJsonObject reencoded;
    JsonCodec::variantMapToJson(reencoded, second);
    if (encoded != reencoded)
        std::abort();

    QByteArray request;
    JsonCodec::makeRequestMessage(request, from, to, reqUID, cmdKey, info);
    if (JsonCodec::messageKind(request) != QLatin1String(JsonCodec::KindRequest))
        std::abort();
    return 0;
}
