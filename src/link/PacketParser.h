#pragma once

#include <QByteArray>
#include <QJsonDocument>
#include <QList>
#include <QMap>
#include <QObject>
#include <QSet>

// Cuts a byte stream into line-feed-terminated JSON messages and keeps the
// unfinished tail per connection key between reads.
class PacketParser : public QObject
{
    Q_OBJECT
public:
    static constexpr int MaxChunkSize = 1460;
    // Longest line kept; a runaway peer cannot make the tail grow past it.
    static constexpr int DefaultLineLimit = 16 * 1024 * 1024;

    explicit PacketParser(QObject* parent = nullptr);
    ~PacketParser() override;

    // The chunks to write for one outgoing message, terminator included.
    static QList<QByteArray> makePackets(const QByteArray& message);

    // The whole messages completed by `data`, in stream order, without their
    // line feeds. Lines that are not JSON documents are dropped, and so is
    // every line longer than the line limit: its bytes are skipped up to the
    // next line feed, with one warning per line.
    QList<QByteArray> parse(quint16 key, const QByteArray& data);
    // The same, handing out the documents that the check of each message
    // parsed, one per message: a reader then needs no parse of its own.
    QList<QByteArray> parse(quint16 key, const QByteArray& data, QList<QJsonDocument>& documents);

    // The tail kept for `key` (empty when none); for diagnostics and tests.
    QByteArray pendingTail(quint16 key) const;

    int lineLimit() const { return limit; }
    void setLineLimit(int bytes);

private:
    void dropLongLine(int size);

    QMap<quint16, QByteArray> pending;
    QSet<quint16> skipping;   // keys whose current line is being discarded
    int limit = DefaultLineLimit;
};
