// Hostile input to the link: 10,000 generated malformed envelopes at the
// parsers and through a live server, and 3 x 1 MiB of random bytes. Each
// envelope is dropped or read with the fall-back values; nothing crashes and
// the link stays in service.
#include "link/JsonCodec.h"
#include "link/ProcessServer.h"

#include "RecordingObserver.h"
#include "ScriptedEditor.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QJsonDocument>
#include <QStringList>
#include <QUuid>

#include <random>

namespace {

const char* const Kinds[] = {"connected", "request", "reply", "notify", "abort"};

// One generated envelope and what a correct reader must make of it.
struct Envelope {
    QByteArray bytes;
    QString kind;            // expected message kind; empty: none
    bool stringResult = false;
    QString result;          // "result" when it was a string
    qint64 progress = -1;    // expected progress; -1: no expectation
};

class EnvelopeGenerator
{
public:
    explicit EnvelopeGenerator(unsigned seed)
        : random(seed)
    {
    }

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }

    // A value of the wrong JSON type for a field; the strings among them are
    // wrong only for non-string fields.
    QByteArray wrongValue(bool allowStrings = true)
    {
        static const char* const values[] = {
            "17", "-1", "1e400", "123456789012345678901234567890", "null", "true", "[]", "[\"ok\"]", "{}",
            "{\"ok\":1}", "-0", "0.5", "\"\"", "\"%%%not base64%%%\"", "\"AP8\"", "\"\\u0000\""};
        const int nonStrings = 12;
        return values[pick(allowStrings ? int(sizeof(values) / sizeof(values[0])) : nonStrings)];
    }

    Envelope next()
    {
        Envelope e;
        const int shape = pick(10);
        if (shape == 0) {
            // Not an object at the top, or not JSON at all.
            static const char* const junk[] = {"[\"reply\",{}]", "\"reply\"", "42", "{\"reply\":",
                                               "{reply:{}}", "{\"reply\":{}}}", "\x80\x81{}", "nul"};
            e.bytes = junk[pick(int(sizeof(junk) / sizeof(junk[0])))];
            return e;
        }
        // One to three top-level keys, known kinds among unknown ones.
        QStringList keys;
        const int count = 1 + pick(3);
        for (int i = 0; i < count; ++i) {
            const int k = pick(8);
            keys << (k < 5 ? QString(Kinds[k]) : k == 5 ? QString("Reply") : k == 6 ? QString("answer") : QString(""));
        }
        keys.removeDuplicates();
        for (const char* kind : Kinds) {
            if (keys.contains(kind)) {
                e.kind = kind;
                break;
            }
        }
        QByteArray out = "{";
        for (int i = 0; i < keys.size(); ++i) {
            if (i)
                out += ",";
            out += "\"" + keys[i].toUtf8() + "\":";
            if (pick(6) == 0) {
                out += wrongValue();   // the envelope's inner value is not an object
                if (keys[i] == e.kind)
                    e.progress = 0;
                continue;
            }
            out += inner(keys[i] == e.kind ? &e : nullptr);
        }
        out += "}";
        e.bytes = out;
        // Some wrong values (1e400) make the whole document invalid for Qt's
        // parser: such a line has no kind at all.
        if (!QJsonDocument::fromJson(out).isObject())
            e = Envelope{out, QString()};
        return e;
    }

private:
    // An inner object with a random mix of right and wrong field types.
    QByteArray inner(Envelope* e)
    {
        QByteArray out = "{";
        bool first = true;
        auto field = [&](const QByteArray& name, const QByteArray& value) {
            out += (first ? "" : ",") + ("\"" + name + "\":") + value;
            first = false;
        };
        for (const char* name : {"from", "to", "reqid", "cmd"}) {
            if (pick(3) == 0)
                field(name, wrongValue());
            else if (pick(4) != 0)
                field(name, "\"{" + QByteArray::number(pick(1000)) + "}\"");
        }
        const int resultShape = pick(4);
        if (resultShape == 0) {
            field("result", wrongValue(false));
        } else if (resultShape < 3) {
            static const char* const results[] = {"ok", "ng", "progress", "OK", ""};
            const QString text = results[pick(5)];
            field("result", "\"" + text.toUtf8() + "\"");
            if (e) {
                e->stringResult = true;
                e->result = text;
            }
        }
        qint64 progress = 0;
        switch (pick(5)) {
        case 0: field("progress", "42"); break;                              // a number, not a string
        case 1: field("progress", "\"-5\""); break;
        case 2: field("progress", "\"12abc\""); break;
        case 3: progress = pick(100000); field("progress", "\"" + QByteArray::number(progress) + "\""); break;
        default: break;
        }
        if (e)
            e->progress = progress;
        switch (pick(5)) {
        case 0: field("cmdinfo", wrongValue()); break;
        case 1: field("cmdinfo", "{\"d:blob\":" + wrongValue() + ",\"list\":" + wrongValue() + "}"); break;
        case 2: field("cmdinfo", "{\"info\":{\"prmValue\":1e308,\"prmType\":\"sixty-four\"},\"list\":[[1,[2]],null]}"); break;
        default: break;
        }
        return out + "}";
    }

    std::mt19937 random;
};

QList<Envelope> envelopes()
{
    EnvelopeGenerator generate(1234u);
    QList<Envelope> all;
    for (int i = 0; i < 10000; ++i)
        all << generate.next();
    return all;
}

QByteArray randomBytes(unsigned seed, int size)
{
    std::mt19937 random(seed);
    QByteArray out(size, '\0');
    for (int i = 0; i < size; ++i)
        out[i] = char(random() & 0xff);
    return out;
}

TEST(HostileInput, MalformedEnvelopesAreReadWithFallBacks)
{
    int replies = 0, kindless = 0;
    for (const Envelope& e : envelopes()) {
        ASSERT_EQ(JsonCodec::messageKind(e.bytes), e.kind) << e.bytes.constData();
        QString id;
        EXPECT_EQ(JsonCodec::parseConnectedMessage(id, e.bytes), e.kind == "connected");
        QString from, to, reqUID, cmdKey, result;
        QVariantMap info;
        unsigned long progress = 99;
        const bool isReply = JsonCodec::parseReplyMessage(from, to, reqUID, cmdKey, info, result, progress, e.bytes);
        if (e.kind == "reply") {
            ++replies;
            ASSERT_TRUE(isReply) << e.bytes.constData();
            EXPECT_EQ(result, e.stringResult ? e.result : QString()) << e.bytes.constData();
            if (e.progress >= 0)
                EXPECT_EQ(qint64(progress), e.progress) << e.bytes.constData();
        }
        QVariantMap notifyData;
        QString notifyFrom, notifyKey;
        JsonCodec::parseNotifyMessage(notifyFrom, notifyKey, notifyData, e.bytes);
        if (e.kind.isEmpty())
            ++kindless;
    }
    // The generator reaches every branch often.
    EXPECT_GT(replies, 1000);
    EXPECT_GT(kindless, 1000);
}

class Server : public ProcessServer
{
public:
    using ProcessServer::ProcessServer;
    using ProcessServer::expectDevice;
};

TEST(HostileInput, LiveServerDropsOrDeliversEveryEnvelopeAndSurvivesNoise)
{
    Server server(QUuid::createUuid().toString());
    RecordingObserver observer;
    server.addObserver(&observer);
    const auto count = [&](const char* prefix) { return observer.events.filter(QRegularExpression("^" + QString(prefix))).size(); };
    const auto arrived = [&](const char* marker) { return !observer.events.filter(marker).isEmpty(); };
    const QString device = QUuid::createUuid().toString();
    server.expectDevice(device);
    ScriptedEditor peer;
    ASSERT_TRUE(peer.connectTo(server.port()));
    peer.announce(device);
    ASSERT_TRUE(spinUntil([&] { return count("created") == 1; }));

    // A "connected" with a foreign identifier would close the connection;
    // stray clients announcing themselves are the stray-client tests' part.
    int expectedReplies = 0, expectedNotifies = 0;
    QByteArray stream;
    for (const Envelope& e : envelopes()) {
        if (e.kind == "connected")
            continue;
        expectedReplies += e.kind == "reply";
        expectedNotifies += e.kind == "notify";
        stream += e.bytes + "\n";
    }
    for (int offset = 0; offset < stream.size(); offset += 64 * 1024)
        peer.sendRaw(stream.mid(offset, 64 * 1024));
    peer.sendRaw(R"({"reply":{"reqid":"{marker-1}","result":"ok"}})" "\n");
    ASSERT_TRUE(spinUntil([&] { return arrived("{marker-1}"); }, 60000));
    EXPECT_EQ(count("reply"), expectedReplies + 1);
    EXPECT_EQ(count("notify"), expectedNotifies);

    // Noise from the registered device and from a stray client.
    ScriptedEditor stray;
    ASSERT_TRUE(stray.connectTo(server.port()));
    for (unsigned seed : {11u, 12u, 13u}) {
        const QByteArray noise = randomBytes(seed, 1024 * 1024);
        for (int offset = 0; offset < noise.size(); offset += 64 * 1024) {
            peer.sendRaw(noise.mid(offset, 64 * 1024));
            if (stray.isConnected())
                stray.sendRaw(noise.mid(offset, 64 * 1024));
        }
    }
    peer.sendRaw("\n" R"({"reply":{"reqid":"{marker-2}","result":"ok"}})" "\n");
    ASSERT_TRUE(spinUntil([&] { return arrived("{marker-2}"); }, 60000));
    EXPECT_EQ(count("reply"), expectedReplies + 2);
    EXPECT_EQ(count("notify"), expectedNotifies);
    EXPECT_EQ(count("created"), 1);
    EXPECT_EQ(count("destroyed"), 0);
    EXPECT_TRUE(peer.isConnected());
}

} // namespace

