// Framing: incoming streams cut into JSON lines, whatever the reads, with a
// bound on the pending tail; outgoing messages chunked.
#include "link/PacketParser.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QList>

#include <atomic>

namespace {

std::atomic<int> warnings{0};

void countWarnings(QtMsgType type, const QMessageLogContext&, const QString&) { warnings += type == QtWarningMsg; }

struct FramingCase {
    const char* name;
    QList<QByteArray> reads;             // successive socket reads
    QList<QList<QByteArray>> expected;   // messages completed by each read
    QByteArray tail;                     // pending after the last read
    int limit = 0;                       // the line limit; 0: the default
    int warnings = 0;                    // lines dropped for their length
};

void PrintTo(const FramingCase& c, std::ostream* os) { *os << c.name; }

class FramingTest : public ::testing::TestWithParam<FramingCase> {};

// A pending tail never outgrows the limit; a line past it is dropped whole,
// reported once, and parsing resumes after its line feed.
TEST_P(FramingTest, CutsStreamIntoMessages)
{
    const FramingCase& c = GetParam();
    ASSERT_EQ(c.reads.size(), c.expected.size());
    warnings = 0;
    const QtMessageHandler previous = qInstallMessageHandler(countWarnings);
    PacketParser parser;
    if (c.limit)
        parser.setLineLimit(c.limit);
    for (int i = 0; i < c.reads.size(); ++i) {
        EXPECT_EQ(parser.parse(4242, c.reads.at(i)), c.expected.at(i)) << "read " << i;
        EXPECT_LE(parser.pendingTail(4242).size(), parser.lineLimit()) << "read " << i;
    }
    qInstallMessageHandler(previous);
    EXPECT_EQ(parser.pendingTail(4242), c.tail);
    EXPECT_EQ(warnings, c.warnings);
}

const QByteArray A = R"({"reply":{"result":"ok"}})";
const QByteArray B = R"({"notify":{"cmd":"MMS Readied"}})";
// JSON messages of 8, 16 (the limit of the rows that set one) and 17 bytes.
const QByteArray Short = R"(["xxxx"])", AtLimit = R"(["xxxxxxxxxxxx"])", Over = R"(["xxxxxxxxxxxxx"])";

INSTANTIATE_TEST_SUITE_P(
    Edges, FramingTest,
    ::testing::Values(
        FramingCase{"TwoInOneRead", {A + "\n" + B + "\n"}, {{A, B}}, {}},
        FramingCase{"SplitMidLineWithAnEmptyRead", {A.left(5), QByteArray(), A.mid(5) + "\n"}, {{}, {}, {A}}, {}},
        FramingCase{"EmptyLines", {"\n\n" + A + "\n\n\n" + B + "\n"}, {{A, B}}, {}},
        FramingCase{"BrokenLinesDropped", {"hello world\n" + A.left(8) + "\n" + B + "\n"}, {{B}}, {}},
        FramingCase{"TailKeptAfterLastRead", {A + "\n" + B.left(3)}, {{A}}, B.left(3)},
        FramingCase{"TailAtTheLimitIsKept", {AtLimit, "\n"}, {{}, {AtLimit}}, {}, 16},
        FramingCase{"TailGrowingPastTheLimitIsDropped", {Over.left(16), Over.mid(16), "\n" + Short + "\n"}, {{}, {}, {Short}}, {}, 16, 1},
        FramingCase{"LineEndingPastTheLimitIsDropped", {Over.left(14), Over.mid(14) + "\n" + Short + "\n"}, {{}, {Short}}, {}, 16, 1},
        FramingCase{"LongLineInOneReadIsDropped", {Short + "\n" + Over + "\n" + AtLimit + "\n"}, {{Short, AtLimit}}, {}, 16, 1},
        FramingCase{"RunawayLineIsNeverKept", {QByteArray(21, 'a'), QByteArray(100, 'b'), "bbb\n" + Short + "\n" + A.left(3)},
                    {{}, {}, {Short}}, A.left(3), 16, 1}),
    [](const ::testing::TestParamInfo<FramingCase>& info) { return std::string(info.param.name); });

// The real limit is 16 MiB; each key keeps its own tail.
TEST(PacketParser, TheDefaultLimitAndSeparateTails)
{
    PacketParser parser;
    const QByteArray mebibyte(1024 * 1024, 'q');
    for (int i = 0; i < 16; ++i)
        EXPECT_TRUE(parser.parse(8, mebibyte).isEmpty());
    EXPECT_EQ(parser.pendingTail(8).size(), 16 * 1024 * 1024);
    EXPECT_TRUE(parser.parse(8, "q").isEmpty());
    EXPECT_TRUE(parser.pendingTail(8).isEmpty());
    EXPECT_EQ(parser.parse(8, "tail\n{\"a\":1}\n"), QList<QByteArray>{"{\"a\":1}"});

    EXPECT_TRUE(parser.parse(1, "{\"a\":").isEmpty());
    EXPECT_TRUE(parser.parse(2, "{\"b\":").isEmpty());
    EXPECT_EQ(parser.parse(2, "2}\n"), QList<QByteArray>{"{\"b\":2}"});
    EXPECT_EQ(parser.parse(1, "1}\n"), QList<QByteArray>{"{\"a\":1}"});
    EXPECT_TRUE(parser.pendingTail(1).isEmpty());
}

// Every line as it may arrive, followed by another, cut into two pieces at
// every byte, and the shorter ones into three at every pair of places;
// `valid` says whether the line is a message.
TEST(FramingSplits, EveryMessageSplitAtEveryByte)
{
    QByteArray bigList = R"({"reply":{"from":"{d}","result":"ok","cmdinfo":{"list":[)";
    for (int i = 0; i < 120; ++i)
        bigList += (i ? "," : "") + QByteArray(R"({"prmValue":)") + QByteArray::number(i * 7) + R"(,"prmType":4})";
    const std::pair<QByteArray, bool> lines[] = {
        {R"({"connected":{"from":"{6a1c2b4e-0000-4000-8000-00000000abcd}"}})", true},
        {R"({"reply":{"from":"{d}","to":"{s}","reqid":"{r}","cmd":"get_prm_val","result":"ok","progress":"0",)"
         R"("cmdinfo":{"info":{"prmValue":-12,"prmType":4}}}})", true},
        {R"({"reply":{"cmdinfo":{"d:blob":"AP8=","title":"Sc\u00e8ne \"1\" \\ caf\u00e9"}}})", true},
        {"{\"notify\":{\"cmd\":\"\xc3\xa9t\xc3\xa9\"}}", true}, {bigList + "]}}}", true}, {"[]", true},
        {"not json at all", false}, {R"({"reply":{"result":"ok")", false}, {"", false}, {"\r", false}, {R"({"a":})", false}};
    for (const auto& [line, valid] : lines) {
        const QByteArray stream = line + "\n" + A + "\n";
        const QList<QByteArray> expected = valid ? QList<QByteArray>{line, A} : QList<QByteArray>{A};
        for (int a = 0; a <= stream.size(); ++a) {
            for (int b = a; b <= (stream.size() > 200 ? a : stream.size()); ++b) {
                PacketParser parser;
                QList<QByteArray> got = parser.parse(9, stream.left(a));
                got += parser.parse(9, stream.mid(a, b - a));
                got += parser.parse(9, stream.mid(b));
                ASSERT_EQ(got, expected) << line.constData() << " cut at " << a << "," << b;
                ASSERT_TRUE(parser.pendingTail(9).isEmpty());
            }
        }
    }
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
