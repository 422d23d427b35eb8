#include "link/PacketParser.h"

#include <QJsonDocument>

PacketParser::PacketParser(QObject* parent)
    : QObject(parent)
{
}

PacketParser::~PacketParser() = default;

QList<QByteArray> PacketParser::makePackets(const QByteArray& message)
{
    QByteArray framed = message;
    framed.append('\n');
    QList<QByteArray> chunks;
    for (int offset = 0; offset < framed.size(); offset += MaxChunkSize)
        chunks.append(framed.mid(offset, MaxChunkSize));
    return chunks;
}

QList<QByteArray> PacketParser::parse(quint16 key, const QByteArray& data)
{
    QList<QByteArray> messages;
    if (data.isEmpty())
        return messages;

    QByteArray buffer = pending.take(key);
    buffer.append(data);
    if (!buffer.contains('\n')) {
        pending.insert(key, buffer);
        return messages;
    }

    const QList<QByteArray> parts = buffer.split('\n');
    for (int i = 0; i < parts.size() - 1; ++i) {
        const QByteArray& part = parts.at(i);
        if (part.isEmpty())
            continue;
        if (!QJsonDocument::fromJson(part).isNull())
            messages.append(part);
    }
    const QByteArray& tail = parts.last();
    if (!tail.isEmpty())
        pending.insert(key, tail);
    return messages;
}

QByteArray PacketParser::pendingTail(quint16 key) const
{
    return pending.value(key);
}
