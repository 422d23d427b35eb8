// Framing does not depend on how the stream is cut into reads: every message
// split at every byte, and a long stream cut at 1,000 seeded random places.
#include "link/PacketParser.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QList>

#include <random>

namespace {

// Lines as they may arrive; `valid` says whether the line is a message.
struct Line {
    QByteArray bytes;
    bool valid;
};

QList<Line> testLines()
{
    QByteArray bigList = R"({"reply":{"from":"{d}","result":"ok","cmdinfo":{"list":[)";
    for (int i = 0; i < 120; ++i)
        bigList += (i ? "," : "") + QByteArray(R"({"prmValue":)") + QByteArray::number(i * 7) + R"(,"prmType":4})";
    bigList += "]}}}";
    return {
        {R"({"connected":{"from":"{6a1c2b4e-0000-4000-8000-00000000abcd}"}})", true},
        {R"({"reply":{"from":"{d}","to":"{s}","reqid":"{r}","cmd":"get_prm_val","result":"ok","progress":"0",)"
         R"("cmdinfo":{"info":{"prmValue":-12,"prmType":4}}}})", true},
        {R"({"reply":{"result":"progress","progress":"50"}})", true},
        {R"({"notify":{"from":"{d}","cmd":"MMS Readied","cmdinfo":{}}})", true},
        {R"({"reply":{"cmdinfo":{"d:blob":"AP8=","title":"Sc\u00e8ne \"1\" \\ caf\u00e9"}}})", true},
        {"{\"notify\":{\"cmd\":\"\xc3\xa9t\xc3\xa9\"}}", true},
        {bigList, true},
        {"[]", true},
        {"not json at all", false},
        {R"({"reply":{"result":"ok")", false},
        {"", false},
        {"\r", false},
        {R"({"a":})", false},
    };
}

QList<QByteArray> expectedMessages(const QList<Line>& lines)
{
    QList<QByteArray> out;
    for (const Line& line : lines) {
        if (line.valid)
            out << line.bytes;
    }
    return out;
}

TEST(FramingSplits, EveryMessageSplitAtEveryByte)
{
    for (const Line& line : testLines()) {
        const QByteArray framed = line.bytes + "\n";
        const QList<QByteArray> expected = line.valid ? QList<QByteArray>{line.bytes} : QList<QByteArray>{};
        for (int cut = 0; cut <= framed.size(); ++cut) {
            PacketParser parser;
            QList<QByteArray> got = parser.parse(9, framed.left(cut));
            got += parser.parse(9, framed.mid(cut));
            ASSERT_EQ(got, expected) << line.bytes.constData() << " cut at " << cut;
            ASSERT_TRUE(parser.pendingTail(9).isEmpty());
        }
        // Three pieces: every pair of cut points of the shorter lines.
        if (framed.size() > 200)
            continue;
        for (int a = 1; a < framed.size(); ++a) {
            for (int b = a; b < framed.size(); ++b) {
                PacketParser parser;
                QList<QByteArray> got = parser.parse(9, framed.left(a));
                got += parser.parse(9, framed.mid(a, b - a));
                got += parser.parse(9, framed.mid(b));
                ASSERT_EQ(got, expected) << line.bytes.constData() << " cut at " << a << "," << b;
            }
        }
    }
}

TEST(FramingSplits, ThousandSeededRandomChunkings)
{
    const QList<Line> lines = testLines();
    QByteArray stream;
    for (int round = 0; round < 3; ++round) {
        for (const Line& line : lines)
            stream += line.bytes + "\n";
    }
    const QByteArray tail = R"({"reply":{"result":"o)";
    stream += tail;
    QList<QByteArray> expected;
    for (int round = 0; round < 3; ++round)
        expected += expectedMessages(lines);
    ASSERT_GT(stream.size(), 3 * 1024);

    std::mt19937 random(20240917u);
    std::uniform_int_distribution<int> chunk(1, 1024);
    for (int run = 0; run < 1000; ++run) {
        PacketParser parser;
        QList<QByteArray> got;
        for (int offset = 0; offset < stream.size();) {
            const int length = chunk(random);
            got += parser.parse(3, stream.mid(offset, length));
            offset += length;
        }
        ASSERT_EQ(got, expected) << "run " << run;
        ASSERT_EQ(parser.pendingTail(3), tail) << "run " << run;
    }
}

} // namespace
