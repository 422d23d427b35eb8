// The effect-rack rules against in-test mixers: source plug-in type and
// parameters in, the target's effect slot out.
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

using EffectRackRuleTrees = ConversionFixture;

// Rules that read the source plug-in's type (or, where typeOf says so, the
// target's effect type) and one source parameter.
TEST_F(EffectRackRuleTrees, TypeAndParameterRules)
{
    enum { Source, Target };
    struct Row {
        int typeOf;
        int type;
        int p;
        int value;
        std::string target;
        int expected;
    };
    const Row rows[] = {
        {Source, 26, 1, 57, slot(0, "RevHD"), 57},   {Source, 26, 1, 57, slot(0, "Rev"), nothing}, // HD hall feeds RevHD only
        {Source, 24, 2, 10, slot(1, "Rev"), 10},     {Source, 24, 2, -3, slot(1, "Rev"), 10},
        {Source, 0, 2, 11, slot(1, "Rev"), 174},     // 1 + 1999 * 11 / 127 = 174.1
        {Source, 3, 2, 500, slot(1, "Rev"), 2000},   // beyond the table: nearest key
        {Source, 26, 2, 127, slot(1, "Rev"), nothing}, // not a Rev type
        {Source, 1, 7, 63, slot(7, "Rev"), 993},     {Source, 1, 7, 64, slot(7, "Rev"), 1000}, // slot 7 swaps the branches
        {Source, 2, 3, 9, slot(2, "Rev"), 8},        {Source, 2, 6, 4, slot(4, "Rev"), 100},
        {Source, 2, 10, 16, slot(6, "Rev"), 0},      {Source, 2, 8, 63, slot(8, "Rev"), 50},
        {Source, 4, 7, 1, slot(6, "EarlyRef"), 100}, {Source, 4, 5, 2, slot(5, "EarlyRef"), 67},
        {Source, 4, 5, 4, slot(5, "EarlyRef"), 4},   // maps pass unknown keys
        {Source, 21, 3, 4, slot(0, "DynaFilter"), 2}, {Source, 21, 3, 7, slot(0, "DynaFilter"), 7},
        {Source, 14, 5, 6, slot(2, "DynaPhaser"), 2}, {Source, 5, 0, 10, slot(0, "GateRev"), 10},
        {Source, 6, 0, 10, slot(0, "GateRev"), 12},   {Source, 4, 0, 10, slot(0, "GateRev"), nothing},
        {Source, 18, 2, 4, slot(3, "ATPan"), 4},      {Source, 18, 2, 5, slot(3, "ATPan"), 0},
        {Source, 8, 8, 14, slot(8, "StDLY"), 13},     {Source, 8, 8, 2, slot(8, "StDLY"), 2},
        {Source, 13, 2, 101, slot(2, "Sym"), 111},    {Source, 13, 2, 8, slot(2, "Sym"), 8},
        // Bank judges read the target's own effect type, through tables
        // where the value needs one (T6 starts at key 64, T0 at key 3).
        {Target, 4, 1, 127, slot(1, "EarlyRef"), 200}, {Target, 4, 1, 0, slot(1, "EarlyRef"), 1},
        {Target, 5, 1, 0, slot(1, "EarlyRef"), nothing}, {Target, 4, 11, 77, "/FX/FX/MixBalance:0/MMS/EarlyRef", 77},
        {Target, 19, 3, 127, slot(2, "Rotary"), 1000}, {Target, 19, 3, 10, slot(2, "Rotary"), 270},
        {Target, 19, 6, -24, slot(10, "Rotary"), 20},  {Target, 11, 0, 64, slot(0, "Chorus"), 270},
        {Target, 11, 3, 101, slot(3, "Chorus"), 111},  {Target, 15, 5, 11, slot(3, "Phaser"), 4},
        {Target, 15, 5, 0, slot(3, "Phaser"), 0},
    };
    for (const Row& r : rows) {
        const int channel = int(&r - rows) % 16;
        source.set(kSourceType, channel, r.typeOf == Source ? r.type : 99); // 99: no rule takes it
        if (r.typeOf == Target)
            target.set(kTargetType, channel, r.type);
        source.set(sourceParameter(r.p), channel, r.value);
        EXPECT_EQ(result(r.target, channel), r.expected)
            << "type " << r.type << " parameter " << r.p << " = " << r.value << " -> " << r.target;
    }
}

TEST_F(EffectRackRuleTrees, ReverbTypeSwitch)
{
    // The plug-in's parameter 0 feeds the type; the switch looks at its type.
    const int expected[29] = {0, 1, 2, 3, nothing, nothing, nothing, nothing, nothing, nothing,
                              nothing, nothing, nothing, nothing, nothing, nothing, nothing, nothing,
                              nothing, nothing, nothing, nothing, nothing, nothing, 0, 1, 0, 1, 3};
    source.set(sourceParameter(0), 5, 99);
    for (int type = 0; type <= 28; ++type) {
        source.set(kSourceType, 5, type);
        EXPECT_EQ(result("/FX/FX/Param:0/PluginName:0/MMS/Rev", 5), expected[type]) << "type " << type;
    }
}

// Slots that average the source value with a partner slot the target holds
// (at the partner's sub-index), for the target's own effect type only.
TEST_F(EffectRackRuleTrees, SlotsAveragedWithTheTargetsPartnerSlots)
{
    target.set(slot(2, "Tremolo"), 6, 40, 8);
    target.set(kTargetType, 6, 17);
    source.set(kSourceType, 6, 99);
    source.set(sourceParameter(1), 6, 31);
    EXPECT_EQ(result(slot(1, "Tremolo"), 6), 35);
    target.set(kTargetType, 6, 16);
    EXPECT_EQ(result(slot(1, "Tremolo"), 6), nothing);

    target.set(kTargetType, 0, 19);
    target.set(slot(5, "Rotary"), 0, 10, 11);
    target.set(slot(7, "Rotary"), 0, 100, 13);
    source.set(sourceParameter(5), 0, 20);
    source.set(sourceParameter(4), 0, 0);
    EXPECT_EQ(result(slot(4, "Rotary"), 0), 15);
    EXPECT_EQ(result(slot(6, "Rotary"), 0), 50);
}
