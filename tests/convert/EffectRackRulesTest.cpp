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

// Rules that read only the source plug-in's type and one of its parameters:
// source type, parameter, value -> target slot and the value written.
TEST_F(EffectRackRuleTrees, SourceTypeAndParameterRules)
{
    struct Row { int type; int p; int value; int k; const char* tag; int expected; };
    const Row rows[] = {
        {26, 1, 57, 0, "RevHD", 57},      {26, 1, 57, 0, "Rev", nothing},     // Hall HD feeds RevHD only
        {24, 2, 10, 1, "Rev", 10},        {24, 2, -3, 1, "Rev", 10},
        {0, 2, 11, 1, "Rev", 174},        // 1 + 1999 * 11 / 127 = 174.1
        {3, 2, 127, 1, "Rev", 2000},      {3, 2, 500, 1, "Rev", 2000},        // beyond the table: nearest key
        {26, 2, 127, 1, "Rev", nothing},  // not a Rev type
        {1, 7, 63, 7, "Rev", 993},        {1, 7, 64, 7, "Rev", 1000},         // slot 7 swaps the branches
        {2, 3, 9, 2, "Rev", 8},           {2, 6, 4, 4, "Rev", 100},           {2, 10, 16, 6, "Rev", 0},
        {2, 8, 63, 8, "Rev", 50},         {4, 7, 1, 6, "EarlyRef", 100},
        {4, 5, 2, 5, "EarlyRef", 67},     {4, 5, 4, 5, "EarlyRef", 4},        // maps pass unknown keys
        {21, 3, 4, 0, "DynaFilter", 2},   {21, 3, 7, 0, "DynaFilter", 7},     {14, 5, 6, 2, "DynaPhaser", 2},
        {5, 0, 10, 0, "GateRev", 10},     {6, 0, 10, 0, "GateRev", 12},       {4, 0, 10, 0, "GateRev", nothing},
        {18, 2, 4, 3, "ATPan", 4},        {18, 2, 5, 3, "ATPan", 0},
        {8, 8, 13, 8, "StDLY", 13},       {8, 8, 14, 8, "StDLY", 13},         {8, 8, 2, 8, "StDLY", 2},
        {13, 2, 9, 2, "Sym", 9},          {13, 2, 101, 2, "Sym", 111},        {13, 2, 8, 2, "Sym", 8},
    };
    for (const Row& r : rows) {
        const int channel = int(&r - rows) % 16;
        sourceEffect(channel, r.type, r.p, r.value);
        EXPECT_EQ(result(slot(r.k, r.tag), channel), r.expected)
            << "type " << r.type << " parameter " << r.p << " = " << r.value << " -> " << r.tag << " " << r.k;
    }
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
