// Hostile input to the link's message parsers: 10,000 generated malformed
// envelopes, each dropped or read with the fall-back values. Noise through a
// live server is the stray-client tests' part, arbitrary bytes the fuzzers'.
#include "link/JsonCodec.h"

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QStringList>

#include <random>

namespace {

const char* const Kinds[] = {"connected", "request", "reply", "notify", "abort"};

// One generated envelope and what a correct reader must make of it.
struct Envelope {
    QByteArray bytes;
    QString kind;            // expected message kind; empty: none
    QString result;          // "result" when it was a string, else empty
    qint64 progress = -1;    // expected progress; -1: no expectation
};

class EnvelopeGenerator
{
public:
    explicit EnvelopeGenerator(unsigned seed) : random(seed) {}

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }

    // A value of the wrong JSON type for a field; the last four, strings, are
    // wrong only for non-string fields.
    QByteArray wrongValue(bool allowStrings = true)
    {
        static const char* const values[] = {
            "17", "-1", "1e400", "123456789012345678901234567890", "null", "true", "[]", "[\"ok\"]", "{}",
            "{\"ok\":1}", "-0", "0.5", "\"\"", "\"%%%not base64%%%\"", "\"AP8\"", "\"\\u0000\""};
        return values[pick(allowStrings ? 16 : 12)];
    }

    Envelope next()
    {
        Envelope e;
        if (pick(10) == 0) {
            // Not an object at the top, or not JSON at all.
            static const char* const junk[] = {"[\"reply\",{}]", "\"reply\"", "42", "{\"reply\":",
                                               "{reply:{}}", "{\"reply\":{}}}", "\x80\x81{}", "nul"};
            e.bytes = junk[pick(8)];
            return e;
        }
        // One to three top-level keys, known kinds among unknown ones; the
        // first known one in the order of Kinds is the message's kind.
        QStringList keys;
        for (int i = 0, count = 1 + pick(3); i < count; ++i) {
            static const char* const names[] = {"connected", "request", "reply", "notify", "abort", "Reply", "answer", ""};
            keys << names[pick(8)];
        }
        keys.removeDuplicates();
        for (int k = 4; k >= 0; --k)
            e.kind = keys.contains(Kinds[k]) ? Kinds[k] : e.kind;
        e.bytes = "{";
        for (const QString& key : keys) {
            e.bytes += (e.bytes.size() > 1 ? ",\"" : "\"") + key.toUtf8() + "\":";
            const bool wrong = pick(6) == 0;   // the envelope's inner value is not an object
            e.bytes += wrong ? wrongValue() : inner(key == e.kind ? &e : nullptr);
            e.progress = key == e.kind && wrong ? 0 : e.progress;
        }
        e.bytes += "}";
        // Some wrong values (1e400) make the whole document invalid for Qt's
        // parser: such a line has no kind at all.
        return QJsonDocument::fromJson(e.bytes).isObject() ? e : Envelope{e.bytes, {}, {}, -1};
    }

private:
    // An inner object with a random mix of right and wrong field types.
    QByteArray inner(Envelope* e)
    {
        QByteArray out = "{";
        auto field = [&](const QByteArray& name, const QByteArray& value) {
            out += (out.size() > 1 ? ",\"" : "\"") + name + "\":" + value;
        };
        for (const char* name : {"from", "to", "reqid", "cmd"}) {
            if (pick(3) == 0)
                field(name, wrongValue());
            else if (pick(4) != 0)
                field(name, "\"{" + QByteArray::number(pick(1000)) + "}\"");
        }
        static const char* const results[] = {"ok", "ng", "progress", "OK", ""};
        const QByteArray result = results[pick(5)];
        const int resultShape = pick(4);   // 0: of a wrong type, 3: none
        if (resultShape < 3)
            field("result", resultShape ? "\"" + result + "\"" : wrongValue(false));
        // A number instead of a string, a negative or malformed one, a good one, none.
        const qint64 progress = pick(100000);
        static const char* const progresses[] = {"42", "\"-5\"", "\"12abc\"", nullptr, nullptr};
        const int progressShape = pick(5);
        if (progressShape < 4)
            field("progress", progresses[progressShape] ? QByteArray(progresses[progressShape]) : "\"" + QByteArray::number(progress) + "\"");
        if (e) {
            e->result = resultShape == 1 || resultShape == 2 ? QString(result) : QString();
            e->progress = progressShape == 3 ? progress : 0;
        }
        const QByteArray cmdinfos[] = {wrongValue(), "{\"d:blob\":" + wrongValue() + ",\"list\":" + wrongValue() + "}",
                                       "{\"info\":{\"prmValue\":1e308,\"prmType\":\"sixty-four\"},\"list\":[[1,[2]],null]}"};
        const int cmdinfoShape = pick(5);
        if (cmdinfoShape < 3)
            field("cmdinfo", cmdinfos[cmdinfoShape]);
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

TEST(HostileInput, MalformedEnvelopesAreReadWithFallBacks)
{
    int replies = 0, kindless = 0;
    for (const Envelope& e : envelopes()) {
        ASSERT_EQ(JsonCodec::messageKind(e.bytes), e.kind) << e.bytes.constData();
        QString id, from, to, reqUID, cmdKey, result;
        EXPECT_EQ(JsonCodec::parseConnectedMessage(id, e.bytes), e.kind == "connected");
        QVariantMap info;
        unsigned long progress = 99;
        const bool isReply = JsonCodec::parseReplyMessage(from, to, reqUID, cmdKey, info, result, progress, e.bytes);
        const bool isNotify = JsonCodec::parseNotifyMessage(from, cmdKey, info, e.bytes);
        EXPECT_TRUE(isNotify || e.kind != "notify") << e.bytes.constData();
        kindless += e.kind.isEmpty();
        if (e.kind != "reply")
            continue;
        ++replies;
        ASSERT_TRUE(isReply) << e.bytes.constData();
        EXPECT_EQ(result, e.result) << e.bytes.constData();
        EXPECT_TRUE(e.progress < 0 || qint64(progress) == e.progress) << e.bytes.constData();
    }
    // The generator reaches every branch often.
    EXPECT_GT(replies, 1000);
    EXPECT_GT(kindless, 1000);
}

} // namespace
