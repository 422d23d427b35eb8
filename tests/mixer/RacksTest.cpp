// FX placement through the plug-in's IMixer against the editor program:
// where type writes land, what other parameters follow, and how reads
// rebuild the placement from the console. The placement's edge cases are
// RackPlacementTest's; plug-in packing and its reads are also checked end
// to end (tests/plaxbridge).
#include "EditorHarness.h"

#include "host/IMixer.h"
#include "params/ValueNameTables.h"

namespace {

const char FxType[] = "/FX/FX/Param:0/PluginName:0/MMS";

// Type values of table 13 by the racks they fill.
constexpr int OneRack = 4;
constexpr int OtherOneRack = 5;
constexpr int TwoRacks = 0;
constexpr int OtherTwoRacks = 1;
constexpr int NoEffect = 29;

QString text(const char* typeName, int value)
{
    return QString::fromUtf8(ValueNameTables::FindValueName(typeName, value));
}

// (address, value) of the single writes among the requests.
QList<QPair<QString, QJsonValue>> singleWrites(const QList<QJsonObject>& requests)
{
    QList<QPair<QString, QJsonValue>> result;
    for (const QJsonObject& r : withCommand(requests, "set_prm_val"))
        result.append(qMakePair(addressOf(r), infoOf(r).value("prmValue")));
    return result;
}

} // namespace

using EditorRacks = SharedEditor;

TEST_F(EditorRacks, EvenSizedEffectsMoveToEvenRacksAndReadBack)
{
    IParameter* fxType = parameter(FxType);
    IParameter* fxValue = parameter("/FX/FX/Param:0/Bank:0/Value:3/MMS");
    const int types[] = {OneRack, TwoRacks, OtherOneRack, OtherTwoRacks};
    int mark = harness().mark();
    for (int unit = 0; unit < 4; ++unit)
        mixer->SetValue(fxType, unit, types[unit], 0);
    mixer->SetValue(fxValue, 3, 42, 0);
    mixer->SetValue(parameter("/FX/FX/Param:0/SlotSize:0/MMS"), 1, 99, 0);

    const auto writes = singleWrites(harness().requestsSince(mark));
    ASSERT_EQ(writes.size(), 6);
    const int racks[] = {0, 2, 4, 6};
    for (int unit = 0; unit < 4; ++unit) {
        EXPECT_EQ(writes[unit].first, QStringLiteral("/FX/FX:%1/Param:0/PluginName:0/MMS").arg(racks[unit]));
        EXPECT_EQ(writes[unit].second.toString(), text(FxType, types[unit]));
    }
    EXPECT_EQ(writes[4].first, "/FX/FX:6/Param:0/Bank:0/Value:3/MMS");
    EXPECT_EQ(writes[4].second.toInt(), 42);
    // SlotSize carries the placed size, not the host's value.
    EXPECT_EQ(writes[5].first, "/FX/FX:2/Param:0/SlotSize:0/MMS");
    EXPECT_EQ(writes[5].second.toInt(), 2);

    // Clearing the flags makes the next read rebuild the placement from the
    // racks' types.
    mixer->SetCurrentSceneMemory();
    mark = harness().mark();
    for (int unit = 0; unit < 4; ++unit)
        EXPECT_EQ(mixer->GetValue(fxType, unit, 0), types[unit]) << unit;
    EXPECT_EQ(mixer->GetValue(fxValue, 3, 0), 42);
    const QList<QJsonObject> reads = harness().requestsSince(mark);
    // 16 rack types once, the 4 types, one block of 16 values.
    ASSERT_EQ(reads.size(), 16 + 4 + 1);
    EXPECT_EQ(addressOf(reads[15]), "/FX/FX:15/Param:0/PluginName:0");
    EXPECT_EQ(addressOf(reads[17]), "/FX/FX:2/Param:0/PluginName:0/MMS");

    // Units without an effect read 29 without asking the editor, and units
    // outside 0..15 never index the placement.
    mark = harness().mark();
    EXPECT_EQ(mixer->GetValue(fxType, 4, 0), NoEffect);
    EXPECT_EQ(mixer->GetValue(fxValue, 16, 0), NoEffect);
    mixer->SetValue(fxType, 16, OneRack, 0);
    mixer->SetValue(fxValue, -1, 1, 0);
    EXPECT_TRUE(harness().requestsSince(mark).isEmpty());
}
