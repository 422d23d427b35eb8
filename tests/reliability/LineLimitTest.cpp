// The bound on the pending tail: a line longer than the limit is dropped
// whole, once reported, and parsing resumes after its line feed.
#include "link/PacketParser.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QMutexLocker>
#include <QStringList>

namespace {

QMutex warningMutex;
QStringList warnings;

void captureWarnings(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtWarningMsg) {
        QMutexLocker locker(&warningMutex);
        warnings << message;
    }
}

class LineLimit : public ::testing::Test
{
protected:
    void SetUp() override
    {
        {
            QMutexLocker locker(&warningMutex);
            warnings.clear();
        }
        previous = qInstallMessageHandler(captureWarnings);
        parser.setLineLimit(Limit);
    }
    void TearDown() override { qInstallMessageHandler(previous); }

    int warningCount()
    {
        QMutexLocker locker(&warningMutex);
        return warnings.size();
    }

    // A JSON message of exactly `size` bytes: ["xxx..."].
    static QByteArray message(int size) { return "[\"" + QByteArray(size - 4, 'x') + "\"]"; }

    static constexpr int Limit = 16;
    PacketParser parser;
    QtMessageHandler previous = nullptr;
};

TEST_F(LineLimit, DefaultIsSixteenMebibytes)
{
    PacketParser fresh;
    EXPECT_EQ(fresh.lineLimit(), 16 * 1024 * 1024);
}

TEST_F(LineLimit, TailAtTheLimitIsKeptOneByteMoreIsDropped)
{
    const QByteArray atLimit = message(Limit);
    EXPECT_TRUE(parser.parse(1, atLimit).isEmpty());
    EXPECT_EQ(parser.pendingTail(1), atLimit);
    EXPECT_EQ(parser.parse(1, "\n"), QList<QByteArray>{atLimit});
    EXPECT_EQ(warningCount(), 0);

    const QByteArray over = message(Limit + 1);
    EXPECT_TRUE(parser.parse(2, over.left(Limit)).isEmpty());
    EXPECT_EQ(parser.pendingTail(2), over.left(Limit));
    EXPECT_TRUE(parser.parse(2, over.mid(Limit)).isEmpty());
    EXPECT_TRUE(parser.pendingTail(2).isEmpty());
    EXPECT_EQ(warningCount(), 1);
    // The rest of that line up to its line feed goes too; the next line counts.
    const QByteArray next = message(8);
    EXPECT_EQ(parser.parse(2, "\n" + next + "\n"), QList<QByteArray>{next});
    EXPECT_EQ(warningCount(), 1);
}

TEST_F(LineLimit, RunawayLineIsReportedOnceAndNeverKept)
{
    EXPECT_TRUE(parser.parse(3, QByteArray(Limit + 5, 'a')).isEmpty());
    for (int i = 0; i < 50; ++i) {
        EXPECT_TRUE(parser.parse(3, QByteArray(100, 'b')).isEmpty());
        EXPECT_TRUE(parser.pendingTail(3).isEmpty());
    }
    EXPECT_EQ(warningCount(), 1);
    const QByteArray a = message(6), b = message(10);
    EXPECT_EQ(parser.parse(3, "bbb\n" + a + "\n" + b.left(3)), QList<QByteArray>{a});
    EXPECT_EQ(parser.pendingTail(3), b.left(3));
    EXPECT_EQ(parser.parse(3, b.mid(3) + "\n"), QList<QByteArray>{b});
    EXPECT_EQ(warningCount(), 1);
}

TEST_F(LineLimit, LongLineInsideOneReadIsDroppedLikeASplitOne)
{
    const QByteArray a = message(5), b = message(Limit);
    const QByteArray stream = a + "\n" + message(Limit + 1) + "\n" + b + "\n";
    EXPECT_EQ(parser.parse(4, stream), (QList<QByteArray>{a, b}));
    EXPECT_EQ(warningCount(), 1);

    PacketParser split;
    split.setLineLimit(Limit);
    QList<QByteArray> got;
    for (int i = 0; i < stream.size(); ++i)
        got += split.parse(4, stream.mid(i, 1));
    EXPECT_EQ(got, (QList<QByteArray>{a, b}));
    EXPECT_EQ(warningCount(), 2);
}

TEST_F(LineLimit, LineCompletedPastTheLimitIsDropped)
{
    // Under the limit while pending, over it once its end arrives.
    const QByteArray over = message(Limit + 3);
    EXPECT_TRUE(parser.parse(5, over.left(Limit - 2)).isEmpty());
    EXPECT_TRUE(parser.parse(5, over.mid(Limit - 2) + "\n").isEmpty());
    EXPECT_TRUE(parser.pendingTail(5).isEmpty());
    EXPECT_EQ(warningCount(), 1);
}

TEST_F(LineLimit, KeysAreBoundedApart)
{
    EXPECT_TRUE(parser.parse(6, QByteArray(Limit + 1, 'z')).isEmpty());
    const QByteArray a = message(7);
    EXPECT_TRUE(parser.parse(7, a.left(3)).isEmpty());
    EXPECT_EQ(parser.parse(7, a.mid(3) + "\n"), QList<QByteArray>{a});
    // Key 6 is still skipping its runaway line.
    EXPECT_TRUE(parser.parse(6, a + "\n").isEmpty());
    EXPECT_EQ(parser.parse(6, a + "\n"), QList<QByteArray>{a});
}

TEST_F(LineLimit, FullSizeRunawayDoesNotGrowTheTail)
{
    PacketParser real;
    const QByteArray mebibyte(1024 * 1024, 'q');
    for (int i = 0; i < 17; ++i) {
        EXPECT_TRUE(real.parse(8, mebibyte).isEmpty());
        EXPECT_LE(real.pendingTail(8).size(), PacketParser::DefaultLineLimit);
    }
    EXPECT_TRUE(real.pendingTail(8).isEmpty());
    EXPECT_EQ(warningCount(), 1);
    EXPECT_EQ(real.parse(8, "tail\n{\"a\":1}\n"), QList<QByteArray>{"{\"a\":1}"});
}

} // namespace
