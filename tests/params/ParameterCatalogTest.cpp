#include "params/ParameterCatalog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <set>
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

TEST(ParameterCatalog, NameFormsCoverEveryRow)
{
    int plain = 0, tagged = 0, geq = 0, dugan = 0;
    for (std::size_t i = 0; i < ParameterCatalog::Size; ++i) {
        const std::string n = ParameterCatalog::entries()[i].name;
        const auto tagAt = n.rfind("/MMS/");
        if (endsWith(n, "/MMS"))
            ++plain;
        else if (tagAt != std::string::npos && kFxTags.count(n.substr(tagAt + 5)) && startsWith(n, "/FX/FX/"))
            ++tagged;
        else if (n == "/Mixing/GEQRack2/Type:0/MMSGEQ")
            ++geq;
        else if (n == "/Mixing/GEQRack2/Type:0/MMSDugan")
            ++dugan;
        else
            ADD_FAILURE() << "unexpected name form: " << n;
    }
    EXPECT_EQ(plain, 1518);
    EXPECT_EQ(tagged, 190);
    EXPECT_EQ(geq, 1);
    EXPECT_EQ(dugan, 1);
}

TEST(ParameterCatalog, RowInvariants)
{
    std::set<std::string> names;
    std::set<int> ids;
    // The element naming the channel strip or unit (the second one) carries
    // no index: the channel is attached to it when an address is formed.
    const std::regex unindexedUnit(R"(^/\w+/\w+/)");
    for (std::size_t i = 0; i < ParameterCatalog::Size; ++i) {
        const CatalogEntry& e = ParameterCatalog::entries()[i];
        SCOPED_TRACE(e.name);
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
        } else if (n != "/Mixing/GEQRack2/Type:0/MMSGEQ" && n != "/Mixing/GEQRack2/Type:0/MMSDugan") {
            EXPECT_EQ(e.channelMax, 31) << n;
        }
    }
    int total = 0;
    for (const Family& f : families) {
        EXPECT_EQ(counts[f.prefix], f.rows) << f.prefix;
        total += f.rows;
    }
    EXPECT_EQ(total, static_cast<int>(ParameterCatalog::Size));
    EXPECT_EQ(row("/Mixing/GEQRack2/Type:0/MMSGEQ").channelMax, 15);
    EXPECT_EQ(row("/Mixing/GEQRack2/Type:0/MMSDugan").channelMax, 0);
    EXPECT_EQ(row("/Mixing/GEQRack2/Type:0/MMS").channelMax, 31);
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

TEST(ParameterCatalog, SendSubIndicesClampAtLastSlot)
{
    const std::string in = "/Mixing/InputChannel/ToMix:";
    for (int k = 0; k <= 47; ++k) {
        const int c = std::min(k, 23);
        const std::string p = in + std::to_string(k) + "/";
        EXPECT_EQ(sub(p + "On/MMS"), 3 + 3 * c) << k;
        EXPECT_EQ(sub(p + "FollowDCA/MMS"), 3 + 3 * c) << k;
        EXPECT_EQ(sub(p + "Pre/MMS"), 4 + 3 * c) << k;
        EXPECT_EQ(sub(p + "Level/MMS"), 5 + 3 * c) << k;
        if (k % 2 == 0)
            EXPECT_EQ(sub(p + "Pan/MMS"), std::min(k / 2, 11)) << k;
        else
            EXPECT_EQ(ParameterCatalog::find(p + "Pan/MMS"), nullptr) << k;
    }
    EXPECT_EQ(sub(in + "23/Level/MMS"), 74);
    EXPECT_EQ(sub(in + "24/Level/MMS"), 74);
    EXPECT_EQ(sub(in + "22/Level/MMS"), 71);
    EXPECT_EQ(sub(in + "46/Pan/MMS"), 11);

    for (const char* strip : {"InputChannel", "Mix", "Stereo"}) {
        const std::string base = std::string("/Mixing/") + strip + "/ToMatrix:";
        for (int k = 0; k <= 11; ++k) {
            const std::string p = base + std::to_string(k) + "/";
            EXPECT_EQ(sub(p + "Level/MMS"), 5 + 3 * std::min(k, 7)) << p;
            EXPECT_EQ(sub(p + "Pre/MMS"), 4 + 3 * std::min(k, 7)) << p;
            EXPECT_EQ(sub(p + "On/MMS"), 3 + 3 * std::min(k, 7)) << p;
        }
        EXPECT_EQ(sub(base + "7/Level/MMS"), 26);
        EXPECT_EQ(sub(base + "11/Level/MMS"), 26);
        EXPECT_EQ(sub(base + "10/Pan/MMS"), 3);
        EXPECT_EQ(sub(base + "6/Pan/MMS"), 3);
        EXPECT_EQ(sub(base + "4/Pan/MMS"), 2);
    }
    EXPECT_EQ(ParameterCatalog::find("/Mixing/Matrix/ToMatrix:0/Level/MMS"), nullptr);
}

TEST(ParameterCatalog, AssignAndEqSubIndicesClamp)
{
    for (const char* strip : {"InputChannel", "Mix", "Matrix", "Stereo"}) {
        const std::string p = std::string("/Mixing/") + strip;
        for (int k = 0; k <= 23; ++k)
            EXPECT_EQ(sub(p + "/DCA:0/Assign:" + std::to_string(k) + "/MMS"), std::min(k, 15)) << p << k;
        for (int k = 0; k <= 11; ++k)
            EXPECT_EQ(sub(p + "/MuteGroup:0/Assign:" + std::to_string(k) + "/MMS"), std::min(k, 7)) << p << k;
        const int bands = std::string(strip) == "InputChannel" ? 4 : 8;
        for (int bank = 0; bank <= 1; ++bank) {
            for (int k = 0; k < bands; ++k) {
                const std::string b = p + "/PEQ:0/Bank:" + std::to_string(bank) + "/Band:" + std::to_string(k);
                const int c = std::min(k, 3);
                EXPECT_EQ(sub(b + "/Bypass/MMS"), 3 + c) << b;
                EXPECT_EQ(sub(b + "/Q/MMS"), 8 + 4 * c) << b;
                EXPECT_EQ(sub(b + "/Frequency/MMS"), 9 + 4 * c) << b;
                EXPECT_EQ(sub(b + "/Gain/MMS"), 10 + 4 * c) << b;
            }
            EXPECT_EQ(ParameterCatalog::find(p + "/PEQ:0/Bank:" + std::to_string(bank) + "/Band:" +
                                             std::to_string(bands) + "/Gain/MMS"),
                      nullptr);
        }
    }
    EXPECT_EQ(sub("/Mixing/Mix/PEQ:0/Bank:1/Band:7/Gain/MMS"), 22);
    EXPECT_EQ(sub("/Mixing/Stereo/DCA:0/Assign:16/MMS"), 15);
    EXPECT_EQ(sub("/Mixing/Matrix/MuteGroup:0/Assign:8/MMS"), 7);

    const int dyn[] = {16, 9, 12, 13, 15, 14};
    for (int p = 0; p < 6; ++p) {
        EXPECT_EQ(sub("/Mixing/InputChannel/Dynamics:1/Bank:0/Parameter:" + std::to_string(p) + "/Value/MMS"), dyn[p]);
        EXPECT_EQ(sub("/Mixing/Stereo/Dynamics:0/Bank:1/Parameter:" + std::to_string(p) + "/Value/MMS"), dyn[p]);
    }
}

TEST(ParameterCatalog, RackSubIndices)
{
    const std::string g = "/Mixing/GEQRack2/AB:";
    for (int a = 0; a <= 1; ++a) {
        const std::string ab = g + std::to_string(a);
        EXPECT_EQ(sub(ab + "/On/MMS"), 3 + a);
        for (int k = 0; k <= 30; ++k)
            EXPECT_EQ(sub(ab + "/GEQ:0/Band:" + std::to_string(k) + "/Gain:0/MMS"), 9 + k);
        for (int n = 0; n <= 3; ++n) {
            const std::string nf = ab + "/NotchFilter:" + std::to_string(n);
            EXPECT_EQ(sub(nf + "/On/MMS"), 41 + 3 * std::min(n, 2));
            EXPECT_EQ(sub(nf + "/Frequency/MMS"), 42 + 3 * std::min(n, 2));
            EXPECT_EQ(sub(nf + "/Q/MMS"), 43 + 3 * std::min(n, 2));
        }
        for (int k = 0; k <= 7; ++k) {
            const std::string b = ab + "/PEQ:0/Band:" + std::to_string(k);
            EXPECT_EQ(sub(b + "/Bypass/MMS"), 2 + 4 * k);
            EXPECT_EQ(sub(b + "/Gain/MMS"), 3 + 4 * k);
            EXPECT_EQ(sub(b + "/Frequency/MMS"), 4 + 4 * k);
            EXPECT_EQ(sub(b + "/Q/MMS"), 5 + 4 * k);
        }
    }
    EXPECT_EQ(sub(g + "1/NotchFilter:3/Q/MMS"), 49);
    EXPECT_EQ(sub(g + "0/PEQ:0/Band:7/Q/MMS"), 33);

    const std::string v = "/VelmarRack/VelmarRack2/PlugIn:0/LR:";
    for (int k = 0; k <= 48; ++k) {
        EXPECT_EQ(sub(v + "0/Parameter:" + std::to_string(k) + "/Value:0/MMS"), 6 + k);
        EXPECT_EQ(sub(v + "1/Parameter:" + std::to_string(k) + "/Value:0/MMS"), 70 + k);
    }
    EXPECT_EQ(ParameterCatalog::find(v + "0/Parameter:49/Value:0/MMS"), nullptr);
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
    EXPECT_EQ(sub("/FX/FX/MixBalance:0/MMS/Rev"), 15);
    EXPECT_EQ(sub("/FX/FX/MixBalance:0/MMS/RevHD"), 13);
    EXPECT_EQ(ParameterCatalog::find("/FX/FX/Param:0/Bank:0/Value:6/MMS/Echo"), nullptr);
    EXPECT_EQ(ParameterCatalog::find("/FX/FX/Param:0/Bank:0/Value:3/MMS/RevHD"), nullptr);
}

TEST(ParameterCatalog, LookupIsExactBytes)
{
    const std::string good = "/Mixing/Mix/BusType/MMS";
    ASSERT_EQ(ParameterCatalog::FindParameterId(good), 39);
    for (const std::string& bad : {std::string("/mixing/mix/bustype/mms"), std::string("/Mixing/Mix/BusType"),
                                   good + "/", good.substr(1), std::string("/Mixing/Mix/BusType/MM"),
                                   good + std::string(1, '\0'), std::string(" ") + good, std::string()}) {
        EXPECT_EQ(ParameterCatalog::FindParameterId(bad), -1) << bad;
        EXPECT_EQ(ParameterCatalog::find(bad), nullptr) << bad;
    }
    // A name whose prefix is another row's name is still distinct.
    EXPECT_EQ(ParameterCatalog::FindParameterId("/Mixing/GEQRack2/Type:0/MMSGEQ"), 134);
    EXPECT_EQ(ParameterCatalog::find("/Mixing/GEQRack2/Type:0/MMSGEQ")->channelMax, 15);
}
