// Feeds the packet parser a stream cut into chunks chosen by the input, and
// checks that every message handed out is one JSON document without a line
// feed, and that the same stream in one piece yields the same messages.
#include "link/PacketParser.h"

#include <QJsonDocument>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    // First byte: the chunk length pattern seed.
    const unsigned seed = data[0];
    const QByteArray stream(reinterpret_cast<const char*>(data + 1), int(size - 1));

    PacketParser chunked;
    QList<QByteArray> fromChunks;
    int offset = 0;
    unsigned step = seed;
    while (offset < stream.size()) {
        step = step * 1103515245u + 12345u;
        const int length = 1 + int((step >> 16) % 64);
        fromChunks += chunked.parse(7, stream.mid(offset, length));
        offset += length;
    }

    PacketParser whole;
    const QList<QByteArray> fromWhole = whole.parse(7, stream);

    if (fromChunks != fromWhole || chunked.pendingTail(7) != whole.pendingTail(7))
        std::abort();
    for (const QByteArray& message : fromWhole) {
        if (message.contains('\n') || QJsonDocument::fromJson(message).isNull())
            std::abort();
    }
    return 0;
}
