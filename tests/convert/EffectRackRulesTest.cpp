#include "ConversionFixture.h"

#include <string>

namespace {

const char* const kSourceType = "/VelmarRack/VelmarRack2/PlugIn:0/PluginName/MMSFx";
const char* const kTargetType = "/FX/FX/Param:0/PluginName:0/MMS";

std::string sourceParameter(int p)
{
    return "/VelmarRack/VelmarRack2/PlugIn:0/LR:0/Parameter:" + std::to_string(p) + "/Value:0/MMSFx";
}

std::string slot(int v, const std::string& tag)
{
    return "/FX/FX/Param:0/Bank:0/Value:" + std::to_string(v) + "/MMS/" + tag;
}

} // namespace

class EffectRackRuleTrees : public ConversionFixture
{
protected:
    // The source plug-in's type and one parameter value on `channel`.
    void sourceEffect(int channel, int type, int p, int value)
    {
        source.set(kSourceType, channel, type);
        source.set(sourceParameter(p), channel, value);
    }
};

TEST_F(EffectRackRuleTrees, HallHdSourceFeedsRevHdButNotRev)
{
    sourceEffect(0, 26, 1, 57);
    EXPECT_EQ(result(slot(0, "RevHD"), 0), 57);
    EXPECT_EQ(result(slot(0, "Rev"), 0), nothing);
    source.set(sourceParameter(0), 0, 26);
    EXPECT_EQ(result("/FX/FX/Param:0/PluginName:0/MMS/Rev", 0), 0);
}

TEST_F(EffectRackRuleTrees, ReverbTypeSwitch)
{
    const std::string pn = "/FX/FX/Param:0/PluginName:0/MMS/Rev";
    const int expected[29] = {0, 1, 2, 3, nothing, nothing, nothing, nothing, nothing, nothing,
                              nothing, nothing, nothing, nothing, nothing, nothing, nothing, nothing,
                              nothing, nothing, nothing, nothing, nothing, nothing, 0, 1, 0, 1, 3};
    for (int type = 0; type <= 28; ++type) {
        // The plug-in's parameter 0 feeds PN; the switch looks at its type.
        sourceEffect(5, type, 0, 99);
        EXPECT_EQ(result(pn, 5), expected[type]) << "type " << type;
    }
}

TEST_F(EffectRackRuleTrees, RevSlotOneRangeRule)
{
    const std::string s = slot(1, "Rev");
    sourceEffect(1, 24, 2, 10);
    EXPECT_EQ(result(s, 1), 10);
    sourceEffect(1, 24, 2, -3);
    EXPECT_EQ(result(s, 1), 10);
    sourceEffect(1, 0, 2, 11);
    EXPECT_EQ(result(s, 1), 174);            // 1 + 1999 * 11 / 127 = 174.1
    sourceEffect(1, 3, 2, 127);
    EXPECT_EQ(result(s, 1), 2000);
    sourceEffect(1, 3, 2, 500);              // beyond the table: nearest key
    EXPECT_EQ(result(s, 1), 2000);
    sourceEffect(1, 26, 2, 127);             // not a Rev type
    EXPECT_EQ(result(s, 1), nothing);
}

TEST_F(EffectRackRuleTrees, RevSlotSevenSwapsTheBranches)
{
    const std::string s = slot(7, "Rev");
    sourceEffect(2, 1, 7, 63);
    EXPECT_EQ(result(s, 2), 993);            // 1 + 1999 * 63 / 127 = 992.6
    sourceEffect(2, 1, 7, 64);
    EXPECT_EQ(result(s, 2), 1000);
}

TEST_F(EffectRackRuleTrees, FilteredArithmetic)
{
    sourceEffect(3, 2, 3, 9);
    EXPECT_EQ(result(slot(2, "Rev"), 3), 8);
    sourceEffect(3, 2, 6, 4);
    EXPECT_EQ(result(slot(4, "Rev"), 3), 100);
    sourceEffect(3, 2, 10, 16);
    EXPECT_EQ(result(slot(6, "Rev"), 3), 0);
    sourceEffect(3, 2, 8, 63);
    EXPECT_EQ(result(slot(8, "Rev"), 3), 50);
    sourceEffect(3, 4, 7, 1);
    EXPECT_EQ(result(slot(6, "EarlyRef"), 3), 100);
}

TEST_F(EffectRackRuleTrees, TremoloSlotOneAveragesWithTheTargetsSlotTwo)
{
    const int channel = 6;
    // Slot 2 of the Tremolo variant sits at sub-index 8 of the target.
    target.set(slot(2, "Tremolo"), channel, 40, 8);
    target.set(kTargetType, channel, 17);
    sourceEffect(channel, 99, 1, 31);        // the source's own type plays no part
    EXPECT_EQ(result(slot(1, "Tremolo"), channel), 35);

    target.set(kTargetType, channel, 16);
    EXPECT_EQ(result(slot(1, "Tremolo"), channel), nothing);
}

TEST_F(EffectRackRuleTrees, RotaryAveragesWithItsOwnPartnerSlots)
{
    target.set(kTargetType, 0, 19);
    target.set(slot(5, "Rotary"), 0, 10, 11);
    target.set(slot(7, "Rotary"), 0, 100, 13);
    source.set(sourceParameter(5), 0, 20);
    source.set(sourceParameter(4), 0, 0);
    EXPECT_EQ(result(slot(4, "Rotary"), 0), 15);
    EXPECT_EQ(result(slot(6, "Rotary"), 0), 50);
}

TEST_F(EffectRackRuleTrees, BankJudgeReadsTheTargetsEffectType)
{
    target.set(kTargetType, 7, 4);
    source.set(kSourceType, 7, 0);
    source.set(sourceParameter(1), 7, 127);
    EXPECT_EQ(result(slot(1, "EarlyRef"), 7), 200);
    source.set(sourceParameter(1), 7, 0);
    EXPECT_EQ(result(slot(1, "EarlyRef"), 7), 1);
    target.set(kTargetType, 7, 5);
    EXPECT_EQ(result(slot(1, "EarlyRef"), 7), nothing);

    const std::string mb = "/FX/FX/MixBalance:0/MMS/EarlyRef";
    target.set(kTargetType, 7, 4);
    source.set(sourceParameter(11), 7, 77);
    EXPECT_EQ(result(mb, 7), 77);
    EXPECT_TRUE(tree(mb)->GetDependentParameters().empty());
}

TEST_F(EffectRackRuleTrees, BankJudgeThroughTables)
{
    target.set(kTargetType, 0, 19);
    source.set(sourceParameter(3), 0, 127);
    EXPECT_EQ(result(slot(2, "Rotary"), 0), 1000);
    source.set(sourceParameter(3), 0, 10);   // T6 starts at key 64
    EXPECT_EQ(result(slot(2, "Rotary"), 0), 270);
    source.set(sourceParameter(6), 0, -24);
    EXPECT_EQ(result(slot(10, "Rotary"), 0), 20);

    target.set(kTargetType, 1, 11);
    source.set(sourceParameter(0), 1, 64);
    EXPECT_EQ(result(slot(0, "Chorus"), 1), 270);
    source.set(sourceParameter(3), 1, 101);
    EXPECT_EQ(result(slot(3, "Chorus"), 1), 111);

    target.set(kTargetType, 2, 15);
    source.set(sourceParameter(5), 2, 11);
    EXPECT_EQ(result(slot(3, "Phaser"), 2), 4);
    source.set(sourceParameter(5), 2, 0);    // below T0's first key
    EXPECT_EQ(result(slot(3, "Phaser"), 2), 0);
}

TEST_F(EffectRackRuleTrees, MapsPassUnknownKeysThrough)
{
    sourceEffect(0, 4, 5, 2);
    EXPECT_EQ(result(slot(5, "EarlyRef"), 0), 67);
    sourceEffect(0, 4, 5, 4);
    EXPECT_EQ(result(slot(5, "EarlyRef"), 0), 4);
    sourceEffect(0, 21, 3, 4);
    EXPECT_EQ(result(slot(0, "DynaFilter"), 0), 2);
    sourceEffect(0, 21, 3, 7);
    EXPECT_EQ(result(slot(0, "DynaFilter"), 0), 7);
    sourceEffect(0, 14, 5, 6);
    EXPECT_EQ(result(slot(2, "DynaPhaser"), 0), 2);
}

TEST_F(EffectRackRuleTrees, GateReverbSlotZeroSwitchesOnTheType)
{
    sourceEffect(4, 5, 0, 10);
    EXPECT_EQ(result(slot(0, "GateRev"), 4), 10);
    sourceEffect(4, 6, 0, 10);
    EXPECT_EQ(result(slot(0, "GateRev"), 4), 12);
    sourceEffect(4, 4, 0, 10);
    EXPECT_EQ(result(slot(0, "GateRev"), 4), nothing);
}

TEST_F(EffectRackRuleTrees, RangeRulesWithCopyFirst)
{
    sourceEffect(0, 18, 2, 4);
    EXPECT_EQ(result(slot(3, "ATPan"), 0), 4);
    sourceEffect(0, 18, 2, 5);
    EXPECT_EQ(result(slot(3, "ATPan"), 0), 0);
    sourceEffect(0, 8, 8, 13);
    EXPECT_EQ(result(slot(8, "StDLY"), 0), 13);
    sourceEffect(0, 8, 8, 14);
    EXPECT_EQ(result(slot(8, "StDLY"), 0), 13);
    sourceEffect(0, 8, 8, 2);
    EXPECT_EQ(result(slot(8, "StDLY"), 0), 2);
    sourceEffect(0, 13, 2, 9);
    EXPECT_EQ(result(slot(2, "Sym"), 0), 9);
    sourceEffect(0, 13, 2, 101);
    EXPECT_EQ(result(slot(2, "Sym"), 0), 111);
    sourceEffect(0, 13, 2, 8);
    EXPECT_EQ(result(slot(2, "Sym"), 0), 8);
}

TEST_F(EffectRackRuleTrees, VariantsAreWrittenAtTheirSubIndex)
{
    sourceEffect(15, 27, 3, 3);
    Tree revHd = tree(slot(4, "RevHD"));
    EXPECT_EQ(revHd->SubIndexStart(), 8);
    EXPECT_EQ(revHd->GetEnd(), 15);
    EXPECT_TRUE(revHd->Convert(15, 8));
    EXPECT_EQ(target.get(slot(4, "RevHD"), 15, 8), 2);

    target.set(kTargetType, 15, 15);
    source.set(sourceParameter(9), 15, 70);
    Tree mb = tree("/FX/FX/MixBalance:0/MMS/Phaser");
    EXPECT_EQ(mb->SubIndexStart(), 13);
    EXPECT_TRUE(mb->Convert(15, 13));
    EXPECT_EQ(target.get("/FX/FX/MixBalance:0/MMS/Phaser", 15, 13), 70);
}
