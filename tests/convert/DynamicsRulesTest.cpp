#include "ConversionFixture.h"

#include "host/CopyPasteParamConverter.h"
#include "host/IParameter.h"
#include "host/ParameterNotFoundException.h"

#include <string>

namespace {

// Which source parameter fills value slot p for a source bank of type t, as
// the rule table reads: bank-relative names, "copy" for the RQ_Comp type,
// empty for none. Types 6 and 7 fill nothing.
const char* const kExpected[6][8] = {
    {"Gate/Threshold", "Ducking/Threshold", "copy", "Expander/Threshold", "DeEsser/Threshold",
     "Classic_Comp/Threshold", "", ""},
    {"Gate/Attack", "Ducking/Attack", "copy", "Expander/Attack", "DeEsser/Frequency", "Classic_Comp/Attack", "", ""},
    {"Gate/Range", "Ducking/Range", "copy", "Expander/Release", "DeEsser/Q", "Classic_Comp/Release", "", ""},
    {"Gate/Hold", "Ducking/Hold", "copy", "Expander/Ratio", "DeEsser/Type", "Classic_Comp/Ratio", "", ""},
    {"Gate/Decay", "Ducking/Decay", "copy", "Expander/Knee", "", "Classic_Comp/Knee", "", ""},
    {"", "", "copy", "Expander/Gain", "", "Classic_Comp/Gain", "", ""},
};

const char* const kCompNames[6] = {"Threshold", "Attack", "Release", "Ratio", "Knee", "Gain"};

// Every source parameter of every type, so a slot that reads the wrong one
// shows a wrong value rather than a zero.
const char* const kAllSources[] = {
    "Gate/Threshold", "Gate/Attack", "Gate/Range", "Gate/Hold", "Gate/Decay",
    "Ducking/Threshold", "Ducking/Attack", "Ducking/Range", "Ducking/Hold", "Ducking/Decay",
    "Expander/Threshold", "Expander/Attack", "Expander/Release", "Expander/Ratio", "Expander/Knee",
    "Expander/Gain", "DeEsser/Threshold", "DeEsser/Frequency", "DeEsser/Q", "DeEsser/Type",
    "Classic_Comp/Threshold", "Classic_Comp/Attack", "Classic_Comp/Release", "Classic_Comp/Ratio",
    "Classic_Comp/Knee", "Classic_Comp/Gain", "RQ_Comp/Threshold", "RQ_Comp/Attack", "RQ_Comp/Release",
    "RQ_Comp/Ratio", "RQ_Comp/Knee", "RQ_Comp/Gain"};

const char* const kBanks[] = {
    "/Mixing/InputChannel/Dynamics:0/Bank:0", "/Mixing/InputChannel/Dynamics:0/Bank:1",
    "/Mixing/InputChannel/Dynamics:1/Bank:0", "/Mixing/InputChannel/Dynamics:1/Bank:1",
    "/Mixing/Mix/Dynamics:0/Bank:0", "/Mixing/Mix/Dynamics:0/Bank:1",
    "/Mixing/Matrix/Dynamics:0/Bank:0", "/Mixing/Matrix/Dynamics:0/Bank:1",
    "/Mixing/Stereo/Dynamics:0/Bank:0", "/Mixing/Stereo/Dynamics:0/Bank:1"};

} // namespace

class DynamicsRuleTrees : public ConversionFixture
{
protected:
    // Gives every source parameter of `bank` at `channel` a distinct value.
    void fillBank(const std::string& bank, int channel, int type)
    {
        source.set(bank + "/Type/MMS", channel, type);
        int v = 1000;
        for (const char* s : kAllSources)
            source.set(bank + "/" + s + "/MMS", channel, v++);
    }

    int sourceValue(const std::string& bank, const std::string& relative, int channel)
    {
        return source.get(bank + "/" + relative + "/MMS", channel);
    }
};

// Slot 2 of a gate bank comes from the gate's range, and so on for each type.
TEST_F(DynamicsRuleTrees, EverySlotOfEveryBankFollowsTheSourceType)
{
    const int channel = 2;
    for (const char* bankName : kBanks) {
        const std::string bank = bankName;
        for (int type = 0; type < 8; ++type) {
            fillBank(bank, channel, type);
            for (int p = 0; p < 6; ++p) {
                const std::string slot = bank + "/Parameter:" + std::to_string(p) + "/Value/MMS";
                const std::string expected = kExpected[p][type];
                const int got = result(slot, channel);
                if (expected.empty())
                    EXPECT_EQ(got, nothing) << slot << " type " << type;
                else if (expected == "copy")
                    EXPECT_EQ(got, sourceValue(bank, std::string("RQ_Comp/") + kCompNames[p], channel))
                        << slot << " type " << type;
                else
                    EXPECT_EQ(got, sourceValue(bank, expected, channel)) << slot << " type " << type;
            }
        }
    }
}

TEST_F(DynamicsRuleTrees, SlotsAreWrittenAtTheirOwnSubIndex)
{
    const std::string bank = "/Mixing/Stereo/Dynamics:0/Bank:1";
    fillBank(bank, 3, 2);
    const int subs[6] = {16, 9, 12, 13, 15, 14};
    for (int p = 0; p < 6; ++p) {
        const std::string slot = bank + "/Parameter:" + std::to_string(p) + "/Value/MMS";
        Tree t = tree(slot);
        EXPECT_EQ(t->SubIndexStart(), subs[p]);
        EXPECT_TRUE(t->Convert(3, subs[p]));
        EXPECT_EQ(target.get(slot, 3, subs[p]), sourceValue(bank, std::string("RQ_Comp/") + kCompNames[p], 3));
        EXPECT_EQ(t->GetEnd(), 3) << "stereo buses are channels 0..3";
    }
}

TEST_F(DynamicsRuleTrees, UnsupportedTypeSwitchesTheBankOffAndClearsItsKeyIn)
{
    source.set("/Mixing/Mix/Dynamics:0/Bank:1/Type/MMS", 9, 7);
    source.set("/Mixing/Mix/Dynamics:0/Bank:1/On/MMS", 9, 1);
    source.set("/Mixing/Mix/Dynamics:0/KeyIn:1/SourceSelect/MMS", 9, 33);
    EXPECT_EQ(result("/Mixing/Mix/Dynamics:0/Bank:1/On/MMS", 9), 0);
    EXPECT_EQ(result("/Mixing/Mix/Dynamics:0/KeyIn:1/SourceSelect/MMS", 9), 0);

    source.set("/Mixing/Mix/Dynamics:0/Bank:1/Type/MMS", 9, 6);
    EXPECT_EQ(result("/Mixing/Mix/Dynamics:0/Bank:1/On/MMS", 9), 0);

    source.set("/Mixing/Mix/Dynamics:0/Bank:1/Type/MMS", 9, 5);
    EXPECT_EQ(result("/Mixing/Mix/Dynamics:0/Bank:1/On/MMS", 9), 1);
    EXPECT_EQ(result("/Mixing/Mix/Dynamics:0/KeyIn:1/SourceSelect/MMS", 9), 33);
}

TEST_F(DynamicsRuleTrees, KeyInFollowsTheTypeOfTheBankWithItsNumber)
{
    source.set("/Mixing/Matrix/Dynamics:0/Bank:0/Type/MMS", 1, 7);
    source.set("/Mixing/Matrix/Dynamics:0/Bank:1/Type/MMS", 1, 0);
    source.set("/Mixing/Matrix/Dynamics:0/KeyIn:0/SourceSelect/MMS", 1, 12);
    source.set("/Mixing/Matrix/Dynamics:0/KeyIn:1/SourceSelect/MMS", 1, 13);
    EXPECT_EQ(result("/Mixing/Matrix/Dynamics:0/KeyIn:0/SourceSelect/MMS", 1), 0);
    EXPECT_EQ(result("/Mixing/Matrix/Dynamics:0/KeyIn:1/SourceSelect/MMS", 1), 13);
}

TEST_F(DynamicsRuleTrees, InputProcessorZeroCopiesItsOnSwitchWhateverTheType)
{
    const std::string on = "/Mixing/InputChannel/Dynamics:0/Bank:1/On/MMS";
    const std::string keyIn = "/Mixing/InputChannel/Dynamics:0/KeyIn:1/SourceSelect/MMS";
    source.set("/Mixing/InputChannel/Dynamics:0/Bank:1/Type/MMS", 100, 7);
    source.set(on, 100, 1);
    source.set(keyIn, 100, 44);
    EXPECT_NE(dynamic_cast<CopyPasteParamConverter*>(tree(on).get()), nullptr);
    EXPECT_EQ(result(on, 100), 1);
    EXPECT_EQ(result(keyIn, 100), 44);
    // Processor 1 of the same channel is guarded.
    source.set("/Mixing/InputChannel/Dynamics:1/Bank:1/Type/MMS", 100, 7);
    source.set("/Mixing/InputChannel/Dynamics:1/Bank:1/On/MMS", 100, 1);
    EXPECT_EQ(result("/Mixing/InputChannel/Dynamics:1/Bank:1/On/MMS", 100), 0);
}

// Direct-out 200/210 become 30; insert points keep 210 but map 200 to 50;
// to-stereo points map both to 110; anything else is copied.
TEST_F(DynamicsRuleTrees, PatchPoints)
{
    struct Row { const char* name; int channel; int in; int out; };
    const Row rows[] = {
        {"/Mixing/InputChannel/DirectOut/Point/MMS", 0, 210, 30}, {"/Mixing/InputChannel/DirectOut/Point/MMS", 1, 200, 30},
        {"/Mixing/InputChannel/DirectOut/Point/MMS", 2, 201, 201}, {"/Mixing/InputChannel/DirectOut/Point/MMS", 119, 199, 199},
        {"/Mixing/Mix/Insert/Point/MMS", 47, 210, 210},            {"/Mixing/Mix/Insert/Point/MMS", 46, 200, 50},
        {"/Mixing/Mix/ToStereo/Point/MMS", 47, 210, 110},          {"/Mixing/Mix/ToStereo/Point/MMS", 46, 200, 110},
        {"/Mixing/Mix/ToStereo/Point/MMS", 45, 201, 201},          {"/Mixing/Matrix/Insert/Point/MMS", 11, 200, 50},
        {"/Mixing/Stereo/Insert/Point/MMS", 3, 200, 50},           {"/Mixing/Stereo/Insert/Point/MMS", 2, 210, 210},
    };
    for (const Row& r : rows) {
        source.set(r.name, r.channel, r.in);
        EXPECT_EQ(result(r.name, r.channel), r.out) << r.name << " channel " << r.channel << " = " << r.in;
    }
}

TEST_F(DynamicsRuleTrees, AutomixerRackBecomesTheAutomixer)
{
    const std::string rack = "/Mixing/GEQRack2/Type:0/MMSDugan";
    source.set(rack, 0, 2);
    Tree t = tree(rack);
    EXPECT_EQ(t->GetStart(), 0);
    EXPECT_EQ(t->GetEnd(), 0);
    EXPECT_TRUE(t->GetDependentParameters().empty());
    EXPECT_EQ(result(rack, 0), 5);
}

TEST_F(DynamicsRuleTrees, ASourceLackingAParameterFailsTheTreeWithoutLeaks)
{
    source.refused.insert("/Mixing/Mix/Dynamics:0/Bank:0/Ducking/Range/MMS");
    try {
        tree("/Mixing/Mix/Dynamics:0/Bank:0/Parameter:2/Value/MMS");
        FAIL() << "the source's exception did not pass out";
    } catch (ParameterNotFoundException* e) {
        EXPECT_EQ(e->parameterName(), "/Mixing/Mix/Dynamics:0/Bank:0/Ducking/Range/MMS");
        EXPECT_EQ(e->mixerId(), "RQ10");
        delete e;
    }
    // Gate, the case before Ducking, was already made; TearDown checks that
    // it and the root's parameters were all released.
    EXPECT_GT(source.createdParameters, 2);
}
