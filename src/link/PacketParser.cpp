#include "link/PacketParser.h"

#include <QJsonDocument>
#include <QtGlobal>

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

void PacketParser::setLineLimit(int bytes)
{
    limit = qMax(1, bytes);
}

void PacketParser::dropLongLine(int size)
{
    qWarning("PacketParser: dropped a line of more than %d bytes (%d so far)", limit, size);
}

QList<QByteArray> PacketParser::parse(quint16 key, const QByteArray& data)
{
    QList<QJsonDocument> documents;
    return parse(key, data, documents);
}

QList<QByteArray> PacketParser::parse(quint16 key, const QByteArray& data, QList<QJsonDocument>& documents)
{
    QList<QByteArray> messages;
    if (data.isEmpty())
        return messages;

    QByteArray buffer;
    if (skipping.contains(key)) {
        // The rest of an over-long line: nothing of it is kept.
        const int end = data.indexOf('\n');
        if (end < 0)
            return messages;
        skipping.remove(key);
        buffer = data.mid(end + 1);
        if (buffer.isEmpty())
            return messages;
    } else {
        buffer = pending.take(key);
        buffer.append(data);
    }

    const QList<QByteArray> parts = buffer.split('\n');
    for (int i = 0; i < parts.size() - 1; ++i) {
        const QByteArray& part = parts.at(i);
        if (part.isEmpty())
            continue;
        // The same line is dropped however the stream was cut into reads.
        if (part.size() > limit) {
            dropLongLine(part.size());
            continue;
        }
        QJsonDocument document = QJsonDocument::fromJson(part);
        if (!document.isNull()) {
            messages.append(part);
            documents.append(document);
        }
    }
    const QByteArray& tail = parts.last();
    if (tail.size() > limit) {
        dropLongLine(tail.size());
        skipping.insert(key);
    } else if (!tail.isEmpty()) {
        pending.insert(key, tail);
    }
    return messages;
}

QByteArray PacketParser::pendingTail(quint16 key) const
{
    return pending.value(key);
}
