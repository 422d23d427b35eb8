#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QObject>

// Cuts a byte stream into line-feed-terminated JSON messages and keeps the
// unfinished tail per connection key between reads.
class PacketParser : public QObject
{
    Q_OBJECT
public:
    static constexpr int MaxChunkSize = 1460;

    explicit PacketParser(QObject* parent = nullptr);
    ~PacketParser() override;

    // The chunks to write for one outgoing message, terminator included.
    static QList<QByteArray> makePackets(const QByteArray& message);

    // The whole messages completed by `data`, in stream order, without their
    // line feeds. Lines that are not JSON documents are dropped.
    QList<QByteArray> parse(quint16 key, const QByteArray& data);

    // The tail kept for `key` (empty when none); for diagnostics and tests.
    QByteArray pendingTail(quint16 key) const;

private:
    QMap<quint16, QByteArray> pending;
};
