// Envelopes and value rules of the editor link.
#include "link/JsonCodec.h"

#include "QtPrinters.h"
#include "host/ConverterException.h"
#include "support/OVariant.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstring>
#include <memory>
#include <string>
#include <utility>

namespace {

QJsonObject encodeMap(const QVariantMap& map)
{
    QJsonObject object;
    EXPECT_TRUE(JsonCodec::variantMapToJson(object, map));
    return object;
}

QVariantMap decodeMap(const QByteArray& json)
{
    QVariantMap map;
    EXPECT_TRUE(JsonCodec::jsonToVariantMap(map, QJsonDocument::fromJson(json).object()));
    return map;
}

// Runs `f`, expecting a heap ConverterException pointer with `message`.
template <typename F>
void expectConverterThrow(F f, const char* message)
{
    try {
        f();
        ADD_FAILURE() << "no exception";
    } catch (ConverterException* e) {
        std::unique_ptr<ConverterException> owned(e);
        EXPECT_STREQ(owned->what(), message);
    }
}

TEST(JsonCodecValues, BinaryKeyTravelsAsBase64AndBack)
{
    const QByteArray bytes("\x00\xff", 2);
    const QJsonObject object = encodeMap({{"d:blob", bytes}, {"plain", bytes}});
    EXPECT_EQ(object.value("d:blob").toString(), QString("AP8="));
    // Without the marker the value travels as its text form.
    EXPECT_TRUE(object.value("plain").isString());
    EXPECT_NE(object.value("plain").toString(), QString("AP8="));

    QVariantMap back;
    JsonCodec::jsonToVariantMap(back, object);
    EXPECT_EQ(back.value("d:blob").userType(), int(QMetaType::QByteArray));
    EXPECT_EQ(back.value("d:blob").toByteArray(), bytes);
    EXPECT_EQ(back.value("plain").userType(), int(QMetaType::QString));

    // The marker matches anywhere in the key, and only in lower case.
    const QJsonObject marked = encodeMap({{"xd:y", QByteArray("hi")}, {"D:upper", QByteArray("hi")}});
    EXPECT_EQ(marked.value("xd:y").toString(), QString("aGk="));
    EXPECT_EQ(marked.value("D:upper").toString(), QString("hi"));
}

TEST(JsonCodecValues, NumbersInMapsAndLists)
{
    const QVariantList list{7, true, QString("s")};
    const QJsonObject object = encodeMap({{"n", 7}, {"u", 4294967295u}, {"f", 2.5}, {"b", true}, {"l", list}});
    EXPECT_TRUE(object.value("n").isDouble());
    EXPECT_EQ(object.value("n").toInt(), 7);
    // Unsigned values keep their bits as a signed 32-bit number.
    EXPECT_EQ(object.value("u").toInt(), -1);
    EXPECT_EQ(object.value("f").toDouble(), 2.5);
    EXPECT_TRUE(object.value("b").isBool());
    const QJsonArray array = object.value("l").toArray();
    ASSERT_EQ(array.size(), 3);
    EXPECT_EQ(array.at(0), QJsonValue(QString("7")));
    EXPECT_EQ(array.at(1), QJsonValue(QString("true")));
    EXPECT_EQ(array.at(2), QJsonValue(QString("s")));

    const QVariantMap back = decodeMap(R"({"n":7,"l":[7,"7",true,null,{"k":1}]})");
    EXPECT_EQ(back.value("n").userType(), int(QMetaType::Double));
    EXPECT_EQ(back.value("n").toDouble(), 7.0);
    const QVariantList l = back.value("l").toList();
    ASSERT_EQ(l.size(), 5);
    EXPECT_EQ(l.at(0), QVariant(QString()));
    EXPECT_EQ(l.at(1), QVariant(QString("7")));
    EXPECT_EQ(l.at(2), QVariant(QString()));
    EXPECT_EQ(l.at(3), QVariant(QString()));
    EXPECT_EQ(l.at(4).toMap().value("k").toDouble(), 1.0);
}

TEST(JsonCodecValues, NestedMapsListsAndNullStrings)
{
    const QVariantMap inner{{"prmAddr", "/Mixing/Mix:3"}};
    const QJsonObject object = encodeMap({{"info", inner}, {"list", QVariantList{inner, inner}}});
    EXPECT_EQ(object.value("info").toObject().value("prmAddr").toString(), QString("/Mixing/Mix:3"));
    EXPECT_EQ(object.value("list").toArray().size(), 2);

    const QVariantMap back = decodeMap(R"({"a":null,"d:b":null,"o":{"s":"t","d:x":"AP8="}})");
    EXPECT_EQ(back.value("a"), QVariant(QString()));
    EXPECT_EQ(back.value("d:b").toByteArray(), QByteArray());
    const QVariantMap o = back.value("o").toMap();
    EXPECT_EQ(o.value("s"), QVariant(QString("t")));
    EXPECT_EQ(o.value("d:x").toByteArray(), QByteArray("\x00\xff", 2));
}

TEST(JsonCodecMessages, RequestEnvelopeIsCompactAndComplete)
{
    QByteArray out("stale");
    ASSERT_TRUE(JsonCodec::makeRequestMessage(out, "{srv}", "{dev}", "{req}", "get_prm_val",
                                              {{"info", QVariantMap{{"prmAddr", "/A:1"}}}}));
    EXPECT_FALSE(out.contains('\n'));
    EXPECT_FALSE(out.contains(' '));
    const QJsonObject top = QJsonDocument::fromJson(out).object();
    ASSERT_EQ(top.keys(), QStringList{"request"});
    const QJsonObject r = top.value("request").toObject();
    EXPECT_EQ(r.value("from").toString(), QString("{srv}"));
    EXPECT_EQ(r.value("to").toString(), QString("{dev}"));
    EXPECT_EQ(r.value("reqid").toString(), QString("{req}"));
    EXPECT_EQ(r.value("cmd").toString(), QString("get_prm_val"));
    EXPECT_EQ(r.value("cmdinfo").toObject().value("info").toObject().value("prmAddr").toString(), QString("/A:1"));
    EXPECT_EQ(JsonCodec::messageKind(out), QString("request"));
}

TEST(JsonCodecMessages, AbortEnvelope)
{
    QByteArray out;
    ASSERT_TRUE(JsonCodec::makeAbortMessage(out, "{srv}", "{req}"));
    EXPECT_EQ(out, QByteArray(R"({"abort":{"from":"{srv}","reqid":"{req}"}})"));
}

TEST(JsonCodecMessages, KindOrderAndUnknowns)
{
    EXPECT_EQ(JsonCodec::messageKind(R"({"notify":{},"reply":{}})"), QString("reply"));
    EXPECT_EQ(JsonCodec::messageKind(R"({"abort":{},"connected":{}})"), QString("connected"));
    EXPECT_EQ(JsonCodec::messageKind(R"({"other":{}})"), QString());
    EXPECT_EQ(JsonCodec::messageKind("[1,2]"), QString());
    EXPECT_EQ(JsonCodec::messageKind("garbage"), QString());
}

TEST(JsonCodecMessages, ConnectedMessage)
{
    QString id = "unchanged";
    EXPECT_FALSE(JsonCodec::parseConnectedMessage(id, R"({"reply":{"from":"x"}})"));
    EXPECT_EQ(id, QString("unchanged"));
    EXPECT_TRUE(JsonCodec::parseConnectedMessage(id, R"({"connected":{"from":"{dev}"}})"));
    EXPECT_EQ(id, QString("{dev}"));
    EXPECT_TRUE(JsonCodec::parseConnectedMessage(id, R"({"connected":{"from":12}})"));
    EXPECT_EQ(id, QString());
}

// Only a decimal string counts as progress.
TEST(JsonCodecMessages, ProgressOnlyFromDecimalString)
{
    const std::pair<const char*, unsigned long> forms[] = {
        {R"("42")", 42}, {"42", 0}, {R"("abc")", 0}, {"", 0}, {R"("4294967295")", 4294967295ul}};
    for (const auto& [json, expected] : forms) {
        QByteArray message = R"({"reply":{"from":"f","to":"t","reqid":"r","cmd":"c","result":"ok")";
        if (std::strlen(json) > 0)
            message += QByteArray(",\"progress\":") + json;
        message += "}}";
        QString from, to, req, cmd, result;
        QVariantMap info;
        unsigned long progress = 999;
        ASSERT_TRUE(JsonCodec::parseReplyMessage(from, to, req, cmd, info, result, progress, message)) << json;
        EXPECT_EQ(progress, expected) << json;
    }
}

TEST(JsonCodecMessages, ReplyFieldsAndMissingCmdinfo)
{
    QString from, to, req, cmd, result;
    QVariantMap info{{"stale", 1}};
    unsigned long progress = 0;
    EXPECT_FALSE(JsonCodec::parseReplyMessage(from, to, req, cmd, info, result, progress,
                                              R"({"notify":{"from":"x"}})"));
    ASSERT_TRUE(JsonCodec::parseReplyMessage(from, to, req, cmd, info, result, progress,
                                             R"({"reply":{"from":"f","to":"t","reqid":"r","cmd":"c","result":"ng"}})"));
    EXPECT_EQ(from, QString("f"));
    EXPECT_EQ(to, QString("t"));
    EXPECT_EQ(req, QString("r"));
    EXPECT_EQ(cmd, QString("c"));
    EXPECT_EQ(result, QString("ng"));
    EXPECT_EQ(info, (QVariantMap{{"stale", 1}}));   // appended to, nothing added

    QVariantMap data;
    ASSERT_TRUE(JsonCodec::parseReplyMessage(
        from, to, req, cmd, data, result, progress,
        R"({"reply":{"result":5,"cmdinfo":{"info":{"prmValue":3,"prmType":4}}}})"));
    EXPECT_EQ(from, QString());
    EXPECT_EQ(result, QString());   // not a string
    EXPECT_EQ(data.value("info").toMap().value("prmType").toInt(), 4);
}

TEST(JsonCodecMessages, NotifyMessage)
{
    QString from, cmd;
    QVariantMap info;
    EXPECT_FALSE(JsonCodec::parseNotifyMessage(from, cmd, info, R"({"reply":{}})"));
    ASSERT_TRUE(JsonCodec::parseNotifyMessage(from, cmd, info,
                                              R"({"notify":{"from":"{d}","cmd":"MMS Readied","cmdinfo":{"k":"v"}}})"));
    EXPECT_EQ(from, QString("{d}"));
    EXPECT_EQ(cmd, QString("MMS Readied"));
    EXPECT_EQ(info.value("k"), QVariant(QString("v")));
}

TEST(JsonCodecConversion, KindFollowsTypeCodeAndValuesSurvive)
{
    const std::pair<int, std::uint32_t> kinds[] = {
        {1, OVariant::Integer},   {2, OVariant::Integer},   {4, OVariant::Integer},   {8, OVariant::Unsigned},
        {16, OVariant::Unsigned}, {32, OVariant::Unsigned}, {256, OVariant::Unsigned}, {128, OVariant::Real}};
    for (const auto& [code, kind] : kinds)
        EXPECT_EQ(JsonCodec::convertQVariantToOVariant(5.0, code).type(), kind) << code;
    EXPECT_EQ(JsonCodec::convertQVariantToOVariant(QString("x"), 64).type(), OVariant::String);
    for (int code : {0, 3, 5, 63, 129, 512, -1}) {
        SCOPED_TRACE(code);
        expectConverterThrow([code] { JsonCodec::convertQVariantToOVariant(1, code); },
                             "convertQVariantToOVariant: Unsupported type.");
    }

    EXPECT_EQ(JsonCodec::convertQVariantToOVariant(-12.0, 4).toInt(), -12);
    EXPECT_EQ(static_cast<std::uint32_t>(JsonCodec::convertQVariantToOVariant(4294967295.0, 256).toInt()),
              0xFFFFFFFFu);
    EXPECT_FLOAT_EQ(JsonCodec::convertQVariantToOVariant(-0.25, 128).toFloat(), -0.25f);
    EXPECT_EQ(JsonCodec::convertQVariantToOVariant(QString("12"), 4).toInt(), 12);

    const OVariant text = JsonCodec::convertQVariantToOVariant(QString::fromUtf8("Kick \xc3\xa4"), 64);
    EXPECT_STREQ(text.toString(), "Kick \xc3\xa4");
    // Texts are limited to 1023 bytes.
    EXPECT_EQ(JsonCodec::convertQVariantToOVariant(QString(1023, 'a'), 64).stringSize(), 1024u);
    EXPECT_STREQ(JsonCodec::convertQVariantToOVariant(QString(1024, 'a'), 64).toString(), "ERROR:");
}

TEST(JsonCodecConversion, OVariantToQVariant)
{
    OVariant i(-3);
    EXPECT_EQ(JsonCodec::convertOVariantToQVariant(i), QVariant(int(-3)));
    OVariant u;
    u = 0xFFFFFFFFu;
    const QVariant uq = JsonCodec::convertOVariantToQVariant(u);
    EXPECT_EQ(uq.userType(), int(QMetaType::UInt));
    EXPECT_EQ(uq.toUInt(), 0xFFFFFFFFu);
    OVariant t("Blue \xc3\xa9", 1023);
    EXPECT_EQ(JsonCodec::convertOVariantToQVariant(t), QVariant(QString::fromUtf8("Blue \xc3\xa9")));
    OVariant r;
    r = 1.5f;
    const QVariant rq = JsonCodec::convertOVariantToQVariant(r);
    EXPECT_EQ(rq.userType(), int(QMetaType::Float));
    EXPECT_EQ(rq.toFloat(), 1.5f);

    expectConverterThrow([] { JsonCodec::convertOVariantToQVariant(OVariant()); },
                         "convertOVariantToQVariant: Unsupported type.");
}

} // namespace
