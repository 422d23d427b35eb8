#include "params/ParameterCatalog.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <string>
#include <tuple>

namespace {

bool startsWith(const std::string& s, const std::string& head)
{
    return s.compare(0, head.size(), head) == 0;
}

} // namespace

// Every row: its name form, a unique name found as itself, sane ranges, and
// its family's row count and channel range.
TEST(ParameterCatalog, RowSweep)
{
    // Plain rows end in /MMS; the FX type variants add a tag; two GEQ rack
    // rows end in MMSGEQ and MMSDugan. The unit element (the second) carries
    // no index: the channel is attached to it when an address is formed.
    const std::regex form(R"(((/SceneInfo/Playback:0|/\w+/\w+)/(.*/)?MMS(/(Rev|RevHD|EarlyRef|GateRev|MnDLY|StDLY|)"
                          R"(DLYLCR|Echo|Chorus|Flange|Sym|DynaPhaser|Phaser|DuPitch|Tremolo|ATPan|Rotary|RingMod|)"
                          R"(DynaFilter|Distortion|AmpSim))?)|/Mixing/GEQRack2/Type:0/MMS(GEQ|Dugan))");
    struct Family {
        const char* prefix;
        int rows;
        int channelMax; // -1: the GEQ racks, 31 but for the two rack types
    };
    const Family families[] = {
        {"/SceneInfo/Playback:0/", 3, 0},      {"/Mixing/InputChannel/", 574, 119}, {"/Mixing/Matrix/", 165, 11},
        {"/Mixing/Mix/", 216, 47},             {"/Mixing/Stereo/", 206, 3},         {"/Setup/InputChannel/", 1, 119},
        {"/Setup/Matrix/", 1, 11},             {"/Setup/Mix/", 1, 47},              {"/Setup/Stereo/", 1, 3},
        {"/Mixing/DCA/", 5, 23},               {"/Mixing/MixingMode/", 1, 0},       {"/Mixing/Surround/", 25, 0},
        {"/VelmarRack/VelmarRack2/", 107, 63}, {"/FX/FX/", 213, 15},                {"/Mixing/DuganAutomixer/", 6, 63},
        {"/Mixing/GEQRack2/", 184, -1},        {"/Mixing/Mute/", 1, 11},
    };
    std::set<std::string> names;
    std::set<int> ids;
    std::map<std::string, int> counts;
    int tagged = 0;
    for (std::size_t i = 0; i < ParameterCatalog::Size; ++i) {
        const CatalogEntry& e = ParameterCatalog::entries()[i];
        const std::string n = e.name;
        SCOPED_TRACE(n);
        std::smatch m;
        EXPECT_TRUE(std::regex_match(n, m, form));
        if (m[4].matched) {
            ++tagged;
            EXPECT_TRUE(startsWith(n, "/FX/FX/"));
        }
        EXPECT_TRUE(names.insert(n).second) << "duplicate";
        EXPECT_EQ(ParameterCatalog::find(n), &e);
        EXPECT_EQ(e.channelMin, 0);
        EXPECT_EQ(e.subMin, e.subMax);
        EXPECT_GE(e.subMin, 0);
        EXPECT_GE(e.id, 0);
        EXPECT_LE(e.id, 865);
        ids.insert(e.id);
        const Family* match = nullptr;
        for (const Family& f : families)
            match = startsWith(n, f.prefix) ? &f : match;
        ASSERT_NE(match, nullptr);
        ++counts[match->prefix];
        const bool rackType = n == "/Mixing/GEQRack2/Type:0/MMSGEQ" || n == "/Mixing/GEQRack2/Type:0/MMSDugan";
        EXPECT_EQ(e.channelMax, match->channelMax >= 0 ? match->channelMax : rackType ? (n.back() == 'Q' ? 15 : 0) : 31);
    }
    EXPECT_EQ(tagged, 190);
    EXPECT_EQ(ids.size(), 96u);
    int total = 0;
    for (const Family& f : families) {
        EXPECT_EQ(counts[f.prefix], f.rows) << f.prefix;
        total += f.rows;
    }
    EXPECT_EQ(total, static_cast<int>(ParameterCatalog::Size));
}

// Ids and sub-indices where a unit, a clamp or a moved slot makes the row
// differ from its neighbours.
TEST(ParameterCatalog, TellingRows)
{
    // name, id (-1: not checked), sub-index (-1: not checked)
    const std::tuple<const char*, int, int> rows[] = {
        {"/SceneInfo/Playback:0/SongFilePath/MMS", 32, 2},         {"/Mixing/Stereo/Mono/MMS", 0, 0},
        {"/Mixing/InputChannel/ToMix:47/Level/MMS", 73, 74},       {"/Mixing/InputChannel/ToMix:46/Pan/MMS", -1, 11},
        {"/Mixing/Stereo/ToMatrix:11/Level/MMS", -1, 26},          {"/Mixing/Matrix/PEQ:0/Bank:0/Band:7/Gain/MMS", -1, 22},
        {"/Mixing/Stereo/Dynamics:0/Bank:1/Parameter:0/Value/MMS", -1, 16},
        {"/Mixing/GEQRack2/AB:1/NotchFilter:3/Q/MMS", -1, 49},     {"/FX/FX/Param:0/PluginName:0/MMS", 705, 0},
        {"/FX/FX/Param:0/Bank:0/Value:10/MMS", 705, 17},           {"/FX/FX/Param:0/Bank:0/Value:4/MMS/RevHD", 705, 8},
        {"/FX/FX/MixBalance:0/MMS/Phaser", -1, 13},
        {"/VelmarRack/VelmarRack2/PlugIn:0/LR:1/Parameter:48/Value:0/MMS", -1, 118},
        // The two dynamics units of an input channel have their own ids.
        {"/Mixing/InputChannel/Dynamics:0/Bank:1/Type/MMS", 61, -1}, {"/Mixing/InputChannel/Dynamics:1/Bank:1/Type/MMS", 64, -1},
    };
    for (const auto& [name, id, sub] : rows) {
        const CatalogEntry* e = ParameterCatalog::find(name);
        ASSERT_NE(e, nullptr) << name;
        EXPECT_TRUE(id < 0 || ParameterCatalog::FindParameterId(name) == id) << name;
        EXPECT_TRUE(sub < 0 || e->subMin == sub) << name << " sub " << e->subMin;
    }
}

TEST(ParameterCatalog, LookupIsExactBytesAndUnitsEndWhereTheConsoleEnds)
{
    const std::string good = "/Mixing/Mix/BusType/MMS";
    ASSERT_EQ(ParameterCatalog::FindParameterId(good), 39);
    for (const std::string& bad :
         {std::string("/mixing/mix/bustype/mms"), good + "/", good.substr(1), good + std::string(1, '\0'), std::string(),
          // a matrix has no sends to matrices, a 4-band PEQ no band 4, an
          // 8-band PEQ no band 8, a plug-in side 49 parameters, and odd
          // input sends no pan
          std::string("/Mixing/Matrix/ToMatrix:0/Level/MMS"), std::string("/Mixing/InputChannel/PEQ:0/Bank:1/Band:4/Gain/MMS"),
          std::string("/Mixing/Mix/PEQ:0/Bank:0/Band:8/Gain/MMS"),
          std::string("/VelmarRack/VelmarRack2/PlugIn:0/LR:0/Parameter:49/Value:0/MMS"),
          std::string("/Mixing/InputChannel/ToMix:47/Pan/MMS"), std::string("/FX/FX/Param:0/Bank:0/Value:6/MMS/Echo")}) {
        EXPECT_EQ(ParameterCatalog::FindParameterId(bad), -1) << bad;
        EXPECT_EQ(ParameterCatalog::find(bad), nullptr) << bad;
    }
}
