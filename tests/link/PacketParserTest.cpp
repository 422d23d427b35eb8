// Framing: incoming streams cut into JSON lines, whatever the reads, with a
// bound on the pending tail; outgoing messages chunked.
#include "link/PacketParser.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QList>

#include <atomic>

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
    for (int i = 0; i < c.reads.size(); ++i)
        EXPECT_EQ(parser.parse(4242, c.reads.at(i)), c.expected.at(i)) << "read " << i;
    EXPECT_EQ(parser.pendingTail(4242), c.tail);
}

const QByteArray A = R"({"reply":{"result":"ok"}})";
const QByteArray B = R"({"notify":{"cmd":"MMS Readied"}})";

INSTANTIATE_TEST_SUITE_P(
    Edges, FramingTest,
    ::testing::Values(
        FramingCase{"TwoInOneRead", {A + "\n" + B + "\n"}, {{A, B}}, {}},
        FramingCase{"SplitMidLineWithAnEmptyRead", {A.left(5), QByteArray(), A.mid(5) + "\n"}, {{}, {}, {A}}, {}},
        FramingCase{"EmptyLines", {"\n\n" + A + "\n\n\n" + B + "\n"}, {{A, B}}, {}},
        FramingCase{"BrokenLinesDropped", {"hello world\n" + A.left(8) + "\n" + B + "\n"}, {{B}}, {}},
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
}

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
    return {{R"({"connected":{"from":"{6a1c2b4e-0000-4000-8000-00000000abcd}"}})", true},
            {R"({"reply":{"from":"{d}","to":"{s}","reqid":"{r}","cmd":"get_prm_val","result":"ok","progress":"0",)"
             R"("cmdinfo":{"info":{"prmValue":-12,"prmType":4}}}})", true},
            {R"({"reply":{"cmdinfo":{"d:blob":"AP8=","title":"Sc\u00e8ne \"1\" \\ caf\u00e9"}}})", true},
            {"{\"notify\":{\"cmd\":\"\xc3\xa9t\xc3\xa9\"}}", true},
            {bigList + "]}}}", true},
            {"[]", true},
            {"not json at all", false},
            {R"({"reply":{"result":"ok")", false},
            {"", false},
            {"\r", false},
            {R"({"a":})", false}};
}

// Every line, followed by another, cut into two pieces at every byte, and the
// shorter ones into three at every pair of places.
TEST(FramingSplits, EveryMessageSplitAtEveryByte)
{
    for (const Line& line : testLines()) {
        const QByteArray stream = line.bytes + "\n" + A + "\n";
        const QList<QByteArray> expected = line.valid ? QList<QByteArray>{line.bytes, A} : QList<QByteArray>{A};
        for (int a = 0; a <= stream.size(); ++a) {
            for (int b = a; b <= (stream.size() > 200 ? a : stream.size()); ++b) {
                PacketParser parser;
                QList<QByteArray> got = parser.parse(9, stream.left(a));
                got += parser.parse(9, stream.mid(a, b - a));
                got += parser.parse(9, stream.mid(b));
                ASSERT_EQ(got, expected) << line.bytes.constData() << " cut at " << a << "," << b;
                ASSERT_TRUE(parser.pendingTail(9).isEmpty());
            }
        }
    }
}

std::atomic<int> warnings{0};

void countWarnings(QtMsgType type, const QMessageLogContext&, const QString&)
{
    warnings += type == QtWarningMsg;
}

// A line longer than the limit is dropped whole, once reported, and parsing
// resumes after its line feed.
class LineLimit : public ::testing::Test
{
protected:
    void SetUp() override
    {
        warnings = 0;
        previous = qInstallMessageHandler(countWarnings);
        parser.setLineLimit(Limit);
    }
    void TearDown() override { qInstallMessageHandler(previous); }

    // A JSON message of exactly `size` bytes: ["xxx..."].
    static QByteArray message(int size) { return "[\"" + QByteArray(size - 4, 'x') + "\"]"; }

    static constexpr int Limit = 16;
    PacketParser parser;
    QtMessageHandler previous = nullptr;
};

// At the limit a tail is kept; one byte more and the line goes, whether it
// grows past the limit while pending, ends past it or arrives in one read,
// and the next line counts again.
TEST_F(LineLimit, LinesPastTheLimitAreDroppedWholeAndReportedOnce)
{
    const QByteArray atLimit = message(Limit), over = message(Limit + 1), next = message(8);
    EXPECT_TRUE(parser.parse(1, atLimit).isEmpty());
    EXPECT_EQ(parser.pendingTail(1), atLimit);
    EXPECT_EQ(parser.parse(1, "\n"), QList<QByteArray>{atLimit});
    EXPECT_EQ(warnings, 0);

    EXPECT_TRUE(parser.parse(2, over.left(Limit)).isEmpty());
    EXPECT_EQ(parser.pendingTail(2), over.left(Limit));
    EXPECT_TRUE(parser.parse(2, over.mid(Limit)).isEmpty());
    EXPECT_TRUE(parser.pendingTail(2).isEmpty());
    EXPECT_EQ(parser.parse(2, "\n" + next + "\n"), QList<QByteArray>{next});
    EXPECT_EQ(warnings, 1);

    EXPECT_TRUE(parser.parse(5, over.left(Limit - 2)).isEmpty());
    EXPECT_TRUE(parser.parse(5, over.mid(Limit - 2) + "\n").isEmpty());
    EXPECT_TRUE(parser.pendingTail(5).isEmpty());
    EXPECT_EQ(warnings, 2);

    const QByteArray stream = next + "\n" + over + "\n" + atLimit + "\n";
    EXPECT_EQ(parser.parse(4, stream), (QList<QByteArray>{next, atLimit}));
    QList<QByteArray> got;
    for (int i = 0; i < stream.size(); ++i)
        got += parser.parse(6, stream.mid(i, 1));
    EXPECT_EQ(got, (QList<QByteArray>{next, atLimit}));
    EXPECT_EQ(warnings, 4);
}

// A runaway line is never kept, however long it runs, and does not hold up
// other keys; the real limit is 16 MiB.
TEST_F(LineLimit, RunawayLineIsNeverKept)
{
    EXPECT_TRUE(parser.parse(3, QByteArray(Limit + 5, 'a')).isEmpty());
    const QByteArray a = message(6), b = message(10);
    EXPECT_TRUE(parser.parse(7, a.left(3)).isEmpty());
    for (int i = 0; i < 50; ++i) {
        EXPECT_TRUE(parser.parse(3, QByteArray(100, 'b')).isEmpty());
        EXPECT_TRUE(parser.pendingTail(3).isEmpty());
    }
    EXPECT_EQ(parser.parse(7, a.mid(3) + "\n"), QList<QByteArray>{a});
    EXPECT_EQ(parser.parse(3, "bbb\n" + a + "\n" + b.left(3)), QList<QByteArray>{a});
    EXPECT_EQ(parser.pendingTail(3), b.left(3));
    EXPECT_EQ(parser.parse(3, b.mid(3) + "\n"), QList<QByteArray>{b});
    EXPECT_EQ(warnings, 1);

    PacketParser real;
    const QByteArray mebibyte(1024 * 1024, 'q');
    for (int i = 0; i < 16; ++i)
        EXPECT_TRUE(real.parse(8, mebibyte).isEmpty());
    EXPECT_EQ(real.pendingTail(8).size(), PacketParser::DefaultLineLimit);
    EXPECT_TRUE(real.parse(8, "q").isEmpty());
    EXPECT_TRUE(real.pendingTail(8).isEmpty());
    EXPECT_EQ(real.parse(8, "tail\n{\"a\":1}\n"), QList<QByteArray>{"{\"a\":1}"});
    EXPECT_EQ(warnings, 2);
}

// makePackets appends the line feed and cuts at MaxChunkSize.
TEST(PacketParser, ChunksSplitAtTheMaximumSize)
{
    const std::pair<int, QList<int>> cases[] = {
        {0, {1}}, {1459, {1460}}, {1460, {1460, 1}}, {2919, {1460, 1460}}, {2920, {1460, 1460, 1}}};
    for (const auto& [size, expected] : cases) {
        const QByteArray message(size, 'm');
        QList<int> sizes;
        QByteArray joined;
        for (const QByteArray& chunk : PacketParser::makePackets(message)) {
            sizes << chunk.size();
            joined += chunk;
        }
        EXPECT_EQ(sizes, expected) << size;
        EXPECT_EQ(joined, message + '\n');
    }
}

} // namespace
