#include "params/ParameterCatalog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {

const std::set<std::string> kFxTags = {
    "Rev", "RevHD", "EarlyRef", "GateRev", "MnDLY", "StDLY", "DLYLCR", "Echo", "Chorus", "Flange", "Sym",
    "DynaPhaser", "Phaser", "DuPitch", "Tremolo", "ATPan", "Rotary", "RingMod", "DynaFilter", "Distortion",
    "AmpSim"};

bool endsWith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

bool startsWith(const std::string& s, const std::string& head)
{
    return s.compare(0, head.size(), head) == 0;
}

const CatalogEntry& row(const std::string& name)
{
    const CatalogEntry* e = ParameterCatalog::find(name);
    if (!e)
        throw std::runtime_error("missing catalogue row " + name);
    return *e;
}

int sub(const std::string& name)
{
    return row(name).subMin;
}

} // namespace

TEST(ParameterCatalog, NameFormsAndRowInvariants)
{
    int plain = 0, tagged = 0;
    std::set<std::string> names;
    std::set<int> ids;
    // The unit element (the second one) carries no index: the channel is
    // attached to it when an address is formed.
    const std::regex unindexedUnit(R"(^/\w+/\w+/)");
    for (std::size_t i = 0; i < ParameterCatalog::Size; ++i) {
        const CatalogEntry& e = ParameterCatalog::entries()[i];
        const std::string n = e.name;
        SCOPED_TRACE(n);
        const auto tagAt = n.rfind("/MMS/");
        if (endsWith(n, "/MMS"))
            ++plain;
        else if (tagAt != std::string::npos && kFxTags.count(n.substr(tagAt + 5)) && startsWith(n, "/FX/FX/"))
            ++tagged;
        else if (n != "/Mixing/GEQRack2/Type:0/MMSGEQ" && n != "/Mixing/GEQRack2/Type:0/MMSDugan")
            ADD_FAILURE() << "unexpected name form";
        EXPECT_TRUE(names.insert(e.name).second) << "duplicate";
        EXPECT_EQ(e.channelMin, 0);
        EXPECT_EQ(e.subMin, e.subMax);
        EXPECT_GE(e.subMin, 0);
        EXPECT_GE(e.id, 0);
        EXPECT_LE(e.id, 865);
        if (!startsWith(e.name, "/SceneInfo/")) {
            EXPECT_TRUE(std::regex_search(e.name, unindexedUnit));
        }
        ids.insert(e.id);
        // Every row is found by its own name, and find hands out the row itself.
        EXPECT_EQ(ParameterCatalog::find(e.name), &e);
    }
    EXPECT_EQ(plain, 1518);
    EXPECT_EQ(tagged, 190);
    EXPECT_EQ(ids.size(), 96u);
}

TEST(ParameterCatalog, FamilyCountsAndChannelRanges)
{
    struct Family { const char* prefix; int rows; int channelMax; };
    const Family families[] = {
        {"/SceneInfo/Playback:0/", 3, 0},     {"/Mixing/InputChannel/", 574, 119},
        {"/Mixing/Matrix/", 165, 11},         {"/Mixing/Mix/", 216, 47},
        {"/Mixing/Stereo/", 206, 3},          {"/Setup/InputChannel/", 1, 119},
        {"/Setup/Matrix/", 1, 11},            {"/Setup/Mix/", 1, 47},
        {"/Setup/Stereo/", 1, 3},             {"/Mixing/DCA/", 5, 23},
        {"/Mixing/MixingMode/", 1, 0},        {"/Mixing/Surround/", 25, 0},
        {"/VelmarRack/VelmarRack2/", 107, 63}, {"/FX/FX/", 213, 15},
        {"/Mixing/DuganAutomixer/", 6, 63},   {"/Mixing/GEQRack2/", 184, -1},
        {"/Mixing/Mute/", 1, 11},
    };
    std::map<std::string, int> counts;
    for (std::size_t i = 0; i < ParameterCatalog::Size; ++i) {
        const CatalogEntry& e = ParameterCatalog::entries()[i];
        const std::string n = e.name;
        const Family* match = nullptr;
        for (const Family& f : families) {
            if (startsWith(n, f.prefix))
                match = &f;
        }
        ASSERT_NE(match, nullptr) << n;
        ++counts[match->prefix];
        if (match->channelMax >= 0) {
            EXPECT_EQ(e.channelMax, match->channelMax) << n;
        } else {
            EXPECT_EQ(e.channelMax, endsWith(n, "MMSGEQ") ? 15 : endsWith(n, "MMSDugan") ? 0 : 31) << n;
        }
    }
    int total = 0;
    for (const Family& f : families) {
        EXPECT_EQ(counts[f.prefix], f.rows) << f.prefix;
        total += f.rows;
    }
    EXPECT_EQ(total, static_cast<int>(ParameterCatalog::Size));
}

TEST(ParameterCatalog, TellingRows)
{
    struct Expect { const char* name; int id; int channelMax; int sub; };
    const Expect rows[] = {
        {"/SceneInfo/Playback:0/On/MMS", 32, 0, 0},
        {"/SceneInfo/Playback:0/SongFilePath/MMS", 32, 0, 2},
        {"/Mixing/InputChannel/Signal/Relation/MMS", 44, 119, 0},
        {"/Mixing/Mix/BusType/MMS", 39, 47, 0},
        {"/Mixing/Stereo/Mono/MMS", 0, 3, 0},
        {"/Mixing/InputChannel/ToMix:47/Level/MMS", 73, 119, 74},
        {"/FX/FX/Param:0/PluginName:0/MMS", 705, 15, 0},
        {"/FX/FX/Param:0/Bank:0/Value:10/MMS", 705, 15, 17},
        {"/FX/FX/Param:0/Bank:0/Value:11/MMS", 705, 15, 17},
        {"/FX/FX/Param:0/Bank:0/Value:4/MMS/RevHD", 705, 15, 8},
        {"/Mixing/GEQRack2/Type:0/MMSGEQ", 134, 15, 0},
        {"/VelmarRack/VelmarRack2/PlugIn:0/LR:1/LibraryName:0/MMS", 705, 63, 4},
        {"/Mixing/InputChannel/Label:0/Name:0/MMS", 157, 119, 0},
        {"/Mixing/InputChannel/LPF:1/Slope/MMS", 67, 119, 67},
        {"/Mixing/Matrix/Dynamics:0/KeyIn:1/FilterQ/MMS", 61, 11, 8},
        {"/Mixing/Surround/BusAssign:5/Assign:0/MMS", 813, 0, 0},
    };
    for (const Expect& x : rows) {
        SCOPED_TRACE(x.name);
        const CatalogEntry& e = row(x.name);
        EXPECT_EQ(ParameterCatalog::FindParameterId(x.name), x.id);
        EXPECT_EQ(e.channelMax, x.channelMax);
        EXPECT_EQ(e.subMin, x.sub);
    }
    // The two dynamics units of an input channel have their own ids.
    EXPECT_EQ(ParameterCatalog::FindParameterId("/Mixing/InputChannel/Dynamics:0/Bank:1/Type/MMS"), 61);
    EXPECT_EQ(ParameterCatalog::FindParameterId("/Mixing/InputChannel/Dynamics:1/Bank:1/Type/MMS"), 64);
    EXPECT_EQ(ParameterCatalog::FindParameterId("/Mixing/InputChannel/Dynamics:1/Bank:0/Parameter:5/Value/MMS"), 64);
    EXPECT_EQ(ParameterCatalog::FindParameterId("/Mixing/InputChannel/Dynamics:1/KeyIn:0/FilterType/MMS"), 61);
}

// Sub-index rules: for k = 0..last the row at pattern ("{S}" each unit of
// the list, "#" k) has sub index base + step * min(k, clamp).
TEST(ParameterCatalog, SubIndexRulesClamp)
{
    struct Rule { const char* units; const char* pattern; int last; int base; int step; int clamp; };
    const char* const strips3 = "InputChannel,Mix,Stereo";
    const char* const strips4 = "InputChannel,Mix,Matrix,Stereo";
    const char* const peq8 = "Mix/PEQ:0/Bank:0,Mix/PEQ:0/Bank:1,Matrix/PEQ:0/Bank:0,Stereo/PEQ:0/Bank:1";
    const char* const peq4 = "InputChannel/PEQ:0/Bank:0,InputChannel/PEQ:0/Bank:1";
    const Rule rules[] = {
        {"InputChannel", "/Mixing/{S}/ToMix:#/On/MMS", 47, 3, 3, 23},
        {"InputChannel", "/Mixing/{S}/ToMix:#/Pre/MMS", 47, 4, 3, 23},
        {"InputChannel", "/Mixing/{S}/ToMix:#/Level/MMS", 47, 5, 3, 23},
        {strips3, "/Mixing/{S}/ToMatrix:#/On/MMS", 11, 3, 3, 7},
        {strips3, "/Mixing/{S}/ToMatrix:#/Pre/MMS", 11, 4, 3, 7},
        {strips3, "/Mixing/{S}/ToMatrix:#/Level/MMS", 11, 5, 3, 7},
        {strips4, "/Mixing/{S}/DCA:0/Assign:#/MMS", 23, 0, 1, 15},
        {strips4, "/Mixing/{S}/MuteGroup:0/Assign:#/MMS", 11, 0, 1, 7},
        {peq8, "/Mixing/{S}/Band:#/Bypass/MMS", 7, 3, 1, 3},
        {peq8, "/Mixing/{S}/Band:#/Q/MMS", 7, 8, 4, 3},
        {peq8, "/Mixing/{S}/Band:#/Frequency/MMS", 7, 9, 4, 3},
        {peq8, "/Mixing/{S}/Band:#/Gain/MMS", 7, 10, 4, 3},
        {peq4, "/Mixing/{S}/Band:#/Gain/MMS", 3, 10, 4, 3},
        {"AB:0,AB:1", "/Mixing/GEQRack2/{S}/GEQ:0/Band:#/Gain:0/MMS", 30, 9, 1, 30},
        {"AB:0,AB:1", "/Mixing/GEQRack2/{S}/NotchFilter:#/On/MMS", 3, 41, 3, 2},
        {"AB:0,AB:1", "/Mixing/GEQRack2/{S}/NotchFilter:#/Frequency/MMS", 3, 42, 3, 2},
        {"AB:0,AB:1", "/Mixing/GEQRack2/{S}/NotchFilter:#/Q/MMS", 3, 43, 3, 2},
        {"AB:0,AB:1", "/Mixing/GEQRack2/{S}/PEQ:0/Band:#/Bypass/MMS", 7, 2, 4, 7},
        {"AB:0,AB:1", "/Mixing/GEQRack2/{S}/PEQ:0/Band:#/Q/MMS", 7, 5, 4, 7},
        {"LR:0", "/VelmarRack/VelmarRack2/PlugIn:0/{S}/Parameter:#/Value:0/MMS", 48, 6, 1, 48},
        {"LR:1", "/VelmarRack/VelmarRack2/PlugIn:0/{S}/Parameter:#/Value:0/MMS", 48, 70, 1, 48},
    };
    for (const Rule& r : rules) {
        std::stringstream units(r.units);
        for (std::string unit; std::getline(units, unit, ',');) {
            std::string p = r.pattern;
            p.replace(p.find("{S}"), 3, unit);
            for (int k = 0; k <= r.last; ++k) {
                std::string n = p;
                n.replace(n.find('#'), 1, std::to_string(k));
                EXPECT_EQ(sub(n), r.base + r.step * std::min(k, r.clamp)) << n;
            }
        }
    }
    EXPECT_EQ(sub("/Mixing/GEQRack2/AB:1/On/MMS"), 4);
    for (int k = 0; k <= 47; ++k) {
        const std::string pan = "/Mixing/InputChannel/ToMix:" + std::to_string(k) + "/Pan/MMS";
        if (k % 2 == 0)
            EXPECT_EQ(sub(pan), std::min(k / 2, 11)) << k;
        else
            EXPECT_EQ(ParameterCatalog::find(pan), nullptr) << k;
    }
    EXPECT_EQ(sub("/Mixing/Mix/ToMatrix:10/Pan/MMS"), 3);
    EXPECT_EQ(sub("/Mixing/Stereo/ToMatrix:4/Pan/MMS"), 2);
    const int dyn[] = {16, 9, 12, 13, 15, 14};
    for (int p = 0; p < 6; ++p) {
        EXPECT_EQ(sub("/Mixing/InputChannel/Dynamics:1/Bank:0/Parameter:" + std::to_string(p) + "/Value/MMS"), dyn[p]);
        EXPECT_EQ(sub("/Mixing/Stereo/Dynamics:0/Bank:1/Parameter:" + std::to_string(p) + "/Value/MMS"), dyn[p]);
    }
    for (const char* beyond : {"/Mixing/Matrix/ToMatrix:0/Level/MMS", "/Mixing/InputChannel/PEQ:0/Bank:1/Band:4/Gain/MMS",
                               "/Mixing/Mix/PEQ:0/Bank:0/Band:8/Gain/MMS",
                               "/VelmarRack/VelmarRack2/PlugIn:0/LR:0/Parameter:49/Value:0/MMS"})
        EXPECT_EQ(ParameterCatalog::find(beyond), nullptr) << beyond;
}

TEST(ParameterCatalog, FxValueSubIndices)
{
    for (int k = 0; k <= 16; ++k)
        EXPECT_EQ(sub("/FX/FX/Param:0/Bank:0/Value:" + std::to_string(k) + "/MMS"), k == 10 ? 17 : 6 + k) << k;

    // Per tag: 6 + k for each value, 7 + the largest k for the mix balance,
    // except where the console moved a slot.
    const std::regex value(R"(/FX/FX/Param:0/Bank:0/Value:(\d+)/MMS/(\w+))");
    const std::map<std::string, int> movedValue = {
        {"RevHD:4", 8}, {"Phaser:6", 10}, {"Phaser:7", 11}, {"Phaser:8", 12}};
    std::map<std::string, int> largest;
    int values = 0;
    for (std::size_t i = 0; i < ParameterCatalog::Size; ++i) {
        const CatalogEntry& e = ParameterCatalog::entries()[i];
        std::cmatch m;
        if (!std::regex_match(e.name, m, value))
            continue;
        ++values;
        const int k = std::stoi(m[1]);
        const std::string key = m[2].str() + ":" + m[1].str();
        const auto moved = movedValue.find(key);
        EXPECT_EQ(e.subMin, moved == movedValue.end() ? 6 + k : moved->second) << e.name;
        largest[m[2]] = std::max(largest[m[2]], k);
    }
    EXPECT_EQ(values, 190 - 1 - 21);
    ASSERT_EQ(largest.size(), kFxTags.size());
    const std::map<std::string, int> movedBalance = {{"Phaser", 13}, {"Distortion", 11}, {"AmpSim", 8}};
    for (const auto& [tag, k] : largest) {
        const auto moved = movedBalance.find(tag);
        EXPECT_EQ(sub("/FX/FX/MixBalance:0/MMS/" + tag), moved == movedBalance.end() ? 7 + k : moved->second) << tag;
    }
    EXPECT_EQ(ParameterCatalog::find("/FX/FX/Param:0/Bank:0/Value:6/MMS/Echo"), nullptr);
    EXPECT_EQ(ParameterCatalog::find("/FX/FX/Param:0/Bank:0/Value:3/MMS/RevHD"), nullptr);
}

TEST(ParameterCatalog, LookupIsExactBytes)
{
    const std::string good = "/Mixing/Mix/BusType/MMS";
    ASSERT_EQ(ParameterCatalog::FindParameterId(good), 39);
    for (const std::string& bad : {std::string("/mixing/mix/bustype/mms"), good + "/", good.substr(1),
                                   good + std::string(1, '\0'), std::string()}) {
        EXPECT_EQ(ParameterCatalog::FindParameterId(bad), -1) << bad;
        EXPECT_EQ(ParameterCatalog::find(bad), nullptr) << bad;
    }
}
