// The bound on the pending tail: a line longer than the limit is dropped
// whole, once reported, and parsing resumes after its line feed.
#include "link/PacketParser.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QList>

#include <atomic>

namespace {

std::atomic<int> warnings{0};

void countWarnings(QtMsgType type, const QMessageLogContext&, const QString&)
{
    warnings += type == QtWarningMsg;
}

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
// other keys.
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
    EXPECT_EQ(real.lineLimit(), 16 * 1024 * 1024);
    const QByteArray mebibyte(1024 * 1024, 'q');
    for (int i = 0; i < 17; ++i) {
        EXPECT_TRUE(real.parse(8, mebibyte).isEmpty());
        EXPECT_LE(real.pendingTail(8).size(), PacketParser::DefaultLineLimit);
    }
    EXPECT_TRUE(real.pendingTail(8).isEmpty());
    EXPECT_EQ(real.parse(8, "tail\n{\"a\":1}\n"), QList<QByteArray>{"{\"a\":1}"});
    EXPECT_EQ(warnings, 2);
}

} // namespace
