// The dynamics rules against in-test mixers. The patch points and the rules
// of the sample's own banks are checked end to end (tests/plaxbridge).
#include "ConversionFixture.h"

#include <string>

namespace {

// Which source parameter fills value slot p for a source bank of type t, as
// the rule table reads: bank-relative names, "copy" for the RQ_Comp type,
// empty for none. Types 6 and 7 fill nothing.
const char* const kExpected[6][8] = {
    {"Gate/Threshold", "Ducking/Threshold", "copy", "Expander/Threshold", "DeEsser/Threshold", "Classic_Comp/Threshold"},
    {"Gate/Attack", "Ducking/Attack", "copy", "Expander/Attack", "DeEsser/Frequency", "Classic_Comp/Attack"},
    {"Gate/Range", "Ducking/Range", "copy", "Expander/Release", "DeEsser/Q", "Classic_Comp/Release"},
    {"Gate/Hold", "Ducking/Hold", "copy", "Expander/Ratio", "DeEsser/Type", "Classic_Comp/Ratio"},
    {"Gate/Decay", "Ducking/Decay", "copy", "Expander/Knee", "", "Classic_Comp/Knee"},
    {"", "", "copy", "Expander/Gain", "", "Classic_Comp/Gain"},
};
const char* const kCompNames[6] = {"Threshold", "Attack", "Release", "Ratio", "Knee", "Gain"};
const char* const kUnits[] = {"Gate", "Ducking", "Expander", "DeEsser", "Classic_Comp", "RQ_Comp"};
const char* const kParts[] = {"Threshold", "Attack", "Range", "Hold", "Decay", "Release", "Ratio",
                              "Knee", "Gain", "Frequency", "Q", "Type"};

} // namespace

using DynamicsRuleTrees = ConversionFixture;

// Every slot of every bank, for every source type: each source parameter
// holds a value of its own, so a slot that reads the wrong one shows.
TEST_F(DynamicsRuleTrees, EverySlotOfEveryBankFollowsTheSourceType)
{
    const int channel = 2;
    for (const char* processor : {"/Mixing/InputChannel/Dynamics:0", "/Mixing/InputChannel/Dynamics:1",
                                  "/Mixing/Mix/Dynamics:0", "/Mixing/Matrix/Dynamics:0", "/Mixing/Stereo/Dynamics:0"}) {
        for (const std::string& bank : {std::string(processor) + "/Bank:0", std::string(processor) + "/Bank:1"}) {
            const auto value = [&](const std::string& relative) { return source.get(bank + "/" + relative + "/MMS", channel); };
            for (int type = 0; type < 8; ++type) {
                source.set(bank + "/Type/MMS", channel, type);
                int v = 1000 * type;
                for (const char* unit : kUnits)
                    for (const char* part : kParts)
                        source.set(bank + "/" + unit + "/" + part + "/MMS", channel, ++v);
                for (int p = 0; p < 6; ++p) {
                    const std::string slot = bank + "/Parameter:" + std::to_string(p) + "/Value/MMS";
                    const std::string expected = type < 6 ? kExpected[p][type] : "";
                    const int wanted = expected.empty()    ? nothing
                                       : expected == "copy" ? value(std::string("RQ_Comp/") + kCompNames[p])
                                                            : value(expected);
                    EXPECT_EQ(result(slot, channel), wanted) << slot << " type " << type;
                }
            }
        }
    }
}

// Key-in sources of a bank whose type the console lacks (6, 7) are cleared,
// each following the bank of its own number; processor 0 of an input has no
// such guard. The on switches share the guard and are checked end to end on
// the sample's banks. The automixer rack becomes the automixer.
TEST_F(DynamicsRuleTrees, GuardsFollowTheirOwnBank)
{
    struct Row {
        const char* bank; // its Type is set; null for none
        int type;
        const char* name;
        int in;
        int out;
    };
    const Row rows[] = {
        {"/Mixing/Mix/Dynamics:0/Bank:1", 6, "/Mixing/Mix/Dynamics:0/KeyIn:1/SourceSelect/MMS", 33, 0},
        {"/Mixing/Matrix/Dynamics:0/Bank:0", 7, "/Mixing/Matrix/Dynamics:0/KeyIn:1/SourceSelect/MMS", 13, 13},
        {"/Mixing/Matrix/Dynamics:0/Bank:1", 7, "/Mixing/Matrix/Dynamics:0/KeyIn:0/SourceSelect/MMS", 12, 12},
        {"/Mixing/Stereo/Dynamics:0/Bank:0", 7, "/Mixing/Stereo/Dynamics:0/KeyIn:0/SourceSelect/MMS", 12, 0},
        {"/Mixing/InputChannel/Dynamics:0/Bank:1", 7, "/Mixing/InputChannel/Dynamics:0/KeyIn:1/SourceSelect/MMS", 44, 44},
        {nullptr, 0, "/Mixing/GEQRack2/Type:0/MMSDugan", 2, 5},
    };
    for (const Row& r : rows) {
        const int channel = r.bank ? int(&r - rows) % 4 : 0;
        if (r.bank)
            source.set(std::string(r.bank) + "/Type/MMS", channel, r.type);
        source.set(r.name, channel, r.in);
        EXPECT_EQ(result(r.name, channel), r.out) << r.name << " type " << r.type;
    }
    EXPECT_TRUE(tree("/Mixing/GEQRack2/Type:0/MMSDugan")->GetDependentParameters().empty());
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
