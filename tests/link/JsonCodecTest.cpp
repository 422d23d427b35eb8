// The value rules of the editor link: maps to JSON and back, and the typed
// values of replies (those of writes are pinned with the wire forms). The envelopes are pinned by the server tests,
// the parsers' fall-backs by the hostile-input tests.
#include "link/JsonCodec.h"

#include "QtPrinters.h"
#include "host/ConverterException.h"
#include "support/OVariant.h"

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>

#include <memory>
#include <utility>

namespace {

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

// Bytes travel as base64 under a key with a lower-case "d:" anywhere in it,
// else as text; unsigned values keep their bits as signed 32-bit numbers;
// everything inside a list becomes text, nested lists stay lists.
TEST(JsonCodecValues, MapsToJson)
{
    const QVariantMap map{{"b", true}, {"d:blob", QByteArray("\x00\xff", 2)}, {"f", 2.5}, {"n", 7}, {"u", 4294967295u},
                          {"l", QVariantList{7, true, "s", QVariantList{1}}}, {"plain", QByteArray("hi")},
                          {"m", QVariantMap{{"xd:y", QByteArray("hi")}, {"D:upper", QByteArray("hi")}}}};
    QJsonObject object;
    ASSERT_TRUE(JsonCodec::variantMapToJson(object, map));
    EXPECT_EQ(QJsonDocument(object).toJson(QJsonDocument::Compact),
              QByteArray(R"({"b":true,"d:blob":"AP8=","f":2.5,"l":["7","true","s",["1"]],)"
                         R"("m":{"D:upper":"hi","xd:y":"aGk="},"n":7,"plain":"hi","u":-1})"));
}

// Numbers read as doubles, null as an empty text; inside lists only texts,
// objects and lists survive.
TEST(JsonCodecValues, JsonToMaps)
{
    QVariantMap map;
    ASSERT_TRUE(JsonCodec::jsonToVariantMap(map, QJsonDocument::fromJson(
        R"({"n":7,"b":false,"a":null,"d:b":null,"l":[7,"7",true,null,{"k":1},["x"]],"o":{"s":"t","d:x":"AP8="}})").object()));
    EXPECT_EQ(map.value("n").userType(), int(QMetaType::Double));
    EXPECT_EQ(map, (QVariantMap{{"n", 7.0}, {"b", false}, {"a", QString()}, {"d:b", QByteArray()},
                                {"l", QVariantList{QString(), "7", QString(), QString(), QVariantMap{{"k", 1.0}}, QVariantList{"x"}}},
                                {"o", QVariantMap{{"s", "t"}, {"d:x", QByteArray("\x00\xff", 2)}}}}));
    EXPECT_EQ(map.value("o").toMap().value("d:x").userType(), int(QMetaType::QByteArray));
}

TEST(JsonCodecConversion, KindFollowsTypeCodeAndValuesSurvive)
{
    const std::pair<int, std::uint32_t> kinds[] = {
        {1, OVariant::Integer},   {2, OVariant::Integer},   {4, OVariant::Integer},    {8, OVariant::Unsigned},
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
    EXPECT_EQ(static_cast<std::uint32_t>(JsonCodec::convertQVariantToOVariant(4294967295.0, 256).toInt()), 0xFFFFFFFFu);
    EXPECT_FLOAT_EQ(JsonCodec::convertQVariantToOVariant(-0.25, 128).toFloat(), -0.25f);
    EXPECT_EQ(JsonCodec::convertQVariantToOVariant(QString("12"), 4).toInt(), 12);
    EXPECT_STREQ(JsonCodec::convertQVariantToOVariant(QString::fromUtf8("Kick \xc3\xa4"), 64).toString(), "Kick \xc3\xa4");
    // Texts are limited to 1023 bytes.
    EXPECT_EQ(JsonCodec::convertQVariantToOVariant(QString(1023, 'a'), 64).stringSize(), 1024u);
    EXPECT_STREQ(JsonCodec::convertQVariantToOVariant(QString(1024, 'a'), 64).toString(), "ERROR:");
}

} // namespace
