// Framing: incoming streams cut into JSON lines, outgoing messages chunked.
#include "link/PacketParser.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QList>

namespace {

struct FramingCase {
    const char* name;
    QList<QByteArray> reads;             // successive socket reads
    QList<QList<QByteArray>> expected;   // messages completed by each read
    QByteArray tail;                     // pending after the last read
};

class FramingTest : public ::testing::TestWithParam<FramingCase> {};

TEST_P(FramingTest, CutsStreamIntoMessages)
{
    const FramingCase& c = GetParam();
    PacketParser parser;
    ASSERT_EQ(c.reads.size(), c.expected.size());
    for (int i = 0; i < c.reads.size(); ++i) {
        EXPECT_EQ(parser.parse(4242, c.reads.at(i)), c.expected.at(i)) << "read " << i;
    }
    EXPECT_EQ(parser.pendingTail(4242), c.tail);
}

const QByteArray A = R"({"reply":{"result":"ok"}})";
const QByteArray B = R"({"notify":{"cmd":"MMS Readied"}})";

INSTANTIATE_TEST_SUITE_P(
    Edges, FramingTest,
    ::testing::Values(
        FramingCase{"TwoInOneRead", {A + "\n" + B + "\n"}, {{A, B}}, {}},
        FramingCase{"WholeThenHalf",
                    {A + "\n" + B.left(10), B.mid(10) + "\n"},
                    {{A}, {B}},
                    {}},
        FramingCase{"SplitMidLineOverThreeReads",
                    {A.left(5), A.mid(5, 7), A.mid(12) + "\n"},
                    {{}, {}, {A}},
                    {}},
        FramingCase{"SplitRightBeforeLineFeed", {A, QByteArray("\n")}, {{}, {A}}, {}},
        FramingCase{"LeadingEmptyLines", {"\n\n" + A + "\n"}, {{A}}, {}},
        FramingCase{"EmptyLinesBetween", {A + "\n\n\n" + B + "\n"}, {{A, B}}, {}},
        FramingCase{"NonJsonLineDropped", {"hello world\n" + A + "\n"}, {{A}}, {}},
        FramingCase{"TruncatedJsonDropped", {A.left(8) + "\n" + B + "\n"}, {{B}}, {}},
        FramingCase{"ZeroByteReadKeepsTail",
                    {A.left(6), QByteArray(), A.mid(6) + "\n"},
                    {{}, {}, {A}},
                    {}},
        FramingCase{"TailKeptAfterLastRead", {A + "\n" + B.left(3)}, {{A}}, B.left(3)}),
    [](const ::testing::TestParamInfo<FramingCase>& info) { return std::string(info.param.name); });

TEST(PacketParser, KeysKeepSeparateTails)
{
    PacketParser parser;
    EXPECT_TRUE(parser.parse(1, "{\"a\":").isEmpty());
    EXPECT_TRUE(parser.parse(2, "{\"b\":").isEmpty());
    EXPECT_EQ(parser.parse(2, "2}\n"), QList<QByteArray>{"{\"b\":2}"});
    EXPECT_EQ(parser.parse(1, "1}\n"), QList<QByteArray>{"{\"a\":1}"});
    EXPECT_TRUE(parser.pendingTail(1).isEmpty());
    EXPECT_TRUE(parser.pendingTail(2).isEmpty());
}

TEST(PacketParser, InvalidLineDoesNotPoisonFollowingMessage)
{
    PacketParser parser;
    EXPECT_TRUE(parser.parse(7, "{not json").isEmpty());
    // The broken line ends here; the next message must survive on its own.
    EXPECT_EQ(parser.parse(7, "\n{\"x\":1}\n"), QList<QByteArray>{"{\"x\":1}"});
}

struct ChunkCase {
    int messageSize;
    QList<int> chunkSizes;
};

class ChunkTest : public ::testing::TestWithParam<ChunkCase> {};

TEST_P(ChunkTest, SplitsAtMaxChunkSize)
{
    const ChunkCase& c = GetParam();
    QByteArray message;
    for (int i = 0; i < c.messageSize; ++i)
        message.append(char('a' + i % 26));
    const QList<QByteArray> chunks = PacketParser::makePackets(message);
    QList<int> sizes;
    QByteArray joined;
    for (const QByteArray& chunk : chunks) {
        sizes.append(chunk.size());
        joined.append(chunk);
    }
    EXPECT_EQ(sizes, c.chunkSizes);
    EXPECT_EQ(joined, message + '\n');
}

INSTANTIATE_TEST_SUITE_P(Boundaries, ChunkTest,
                         ::testing::Values(ChunkCase{0, {1}},
                                           ChunkCase{1459, {1460}},
                                           ChunkCase{1460, {1460, 1}},
                                           ChunkCase{2919, {1460, 1460}},
                                           ChunkCase{2920, {1460, 1460, 1}}));

TEST(PacketParser, ChunksOfOneMessageReassembleThroughParser)
{
    QByteArray big = "{\"list\":\"" + QByteArray(5000, 'x') + "\"}";
    PacketParser parser;
    QList<QByteArray> got;
    for (const QByteArray& chunk : PacketParser::makePackets(big))
        got += parser.parse(9, chunk);
    EXPECT_EQ(got, QList<QByteArray>{big});
}

} // namespace
