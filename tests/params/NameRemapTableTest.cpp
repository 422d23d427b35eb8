#include "convert/NameRemapTable.h"
#include "params/ParameterCatalog.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>

namespace {

const std::string kPlugin = "/VelmarRack/VelmarRack2/PlugIn:0";

bool endsWith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::string lookup(const std::string& target)
{
    const char* source = NameRemapTable::Lookup(target);
    return source ? source : "<none>";
}

} // namespace

TEST(NameRemapTable, FourGroupsCoverEveryRowAndTargetsAreCatalogueNames)
{
    const std::regex dynamics(R"((/Mixing/\w+/Dynamics:\d/Bank:\d)/Parameter:(\d)/Value/MMS)");
    const std::regex fxValue(R"(/LR:0/Parameter:(\d+)/Value:0/MMSFx)");
    const std::regex velmarTail(kPlugin + R"(/LR:[01]/Parameter:(\d+)/Value:0/MMS)");
    const std::regex targetForm(R"(.*/MMS(/\w+)?|.*/MMSDugan)");
    const char* const dynamicsSources[] = {"Threshold", "Attack", "Release", "Ratio", "Knee", "Gain"};
    int same = 0, dyn = 0, fx = 0, geq = 0;
    int sameInCatalogue = 0, otherInCatalogue = 0;
    std::set<std::string> targets;
    for (std::size_t i = 0; i < NameRemapTable::Size; ++i) {
        const std::string target = NameRemapTable::rows()[i].target;
        const std::string source = NameRemapTable::rows()[i].source;
        SCOPED_TRACE(target);
        EXPECT_TRUE(targets.insert(target).second) << "duplicate target";
        const bool inCatalogue = ParameterCatalog::find(target) != nullptr;
        EXPECT_TRUE(std::regex_match(target, targetForm));
        std::smatch m;
        if (target == source) {
            ++same;
            sameInCatalogue += inCatalogue;
            if (!inCatalogue && std::regex_match(target, m, velmarTail))
                EXPECT_GE(std::stoi(m[1]), 49);
            else if (!inCatalogue)
                EXPECT_TRUE(endsWith(target, "/LibraryName/MMS"));
            continue;
        }
        otherInCatalogue += inCatalogue;
        EXPECT_TRUE(inCatalogue);
        if (std::regex_match(target, m, dynamics)) {
            ++dyn;
            EXPECT_EQ(source, m[1].str() + "/RQ_Comp/" + dynamicsSources[std::stoi(m[2])] + "/MMS");
        } else if (target.rfind("/FX/FX/", 0) == 0) {
            ++fx;
            EXPECT_EQ(source.rfind(kPlugin + "/", 0), 0u) << source;
            EXPECT_TRUE(endsWith(source, "/MMSFx")) << source;
        } else if (source == target + "GEQ") {
            ++geq;
            EXPECT_EQ(target.rfind("/Mixing/GEQRack2/", 0), 0u);
        } else {
            ADD_FAILURE() << "row in no group: " << source;
        }
    }
    EXPECT_EQ(same, 1278);
    EXPECT_EQ(dyn, 60);
    EXPECT_EQ(fx, 189);
    EXPECT_EQ(geq, 182);
    EXPECT_EQ(otherInCatalogue, 60 + 189 + 182);
    // Same-name rows the catalogue lacks: the velmar library names without
    // ":0" (2) and the plug-in parameters 49..63 of both sides (30).
    EXPECT_EQ(sameInCatalogue, 1278 - 2 - 30);
}

TEST(NameRemapTable, Lookups)
{
    EXPECT_EQ(lookup("/Mixing/InputChannel/Dynamics:1/Bank:1/Parameter:5/Value/MMS"),
              "/Mixing/InputChannel/Dynamics:1/Bank:1/RQ_Comp/Gain/MMS");
    EXPECT_EQ(lookup("/Mixing/GEQRack2/Type:0/MMS"), "/Mixing/GEQRack2/Type:0/MMSGEQ");
    EXPECT_EQ(lookup("/Mixing/GEQRack2/Type:0/MMSDugan"), "/Mixing/GEQRack2/Type:0/MMSDugan");
    EXPECT_EQ(lookup("/FX/FX/Param:0/PluginName:0/MMS"), kPlugin + "/PluginName/MMSFx");
    EXPECT_EQ(lookup("/FX/FX/Param:0/PluginName:0/MMS/Rev"), kPlugin + "/LR:0/Parameter:0/Value:0/MMSFx");
    EXPECT_EQ(lookup("/FX/FX/Bypass:0/MMS"), kPlugin + "/LR:0/Bypass:0/MMSFx");
    EXPECT_EQ(lookup("/FX/FX/Param:0/Bank:0/Value:3/MMS/Rev"), kPlugin + "/LR:0/Parameter:5/Value:0/MMSFx");
    EXPECT_EQ(lookup("/FX/FX/Param:0/Bank:0/Value:8/MMS/DLYLCR"), kPlugin + "/LR:0/Parameter:4/Value:0/MMSFx");
    EXPECT_EQ(lookup("/FX/FX/MixBalance:0/MMS/AmpSim"), kPlugin + "/LR:0/Parameter:12/Value:0/MMSFx");
    EXPECT_EQ(lookup(kPlugin + "/LR:1/Parameter:63/Value:0/MMS"), kPlugin + "/LR:1/Parameter:63/Value:0/MMS");
}

TEST(NameRemapTable, MissesGoToTheLibrary)
{
    for (const std::string& n :
         {std::string("/FX/FX/Param:0/Bank:0/Value:6/MMS/Echo"), std::string("/FX/FX/Param:0/Bank:0/Value:2/MMS/Tremolo"),
          std::string("/FX/FX/MixBalance:0/MMS"), std::string("/FX/FX/Param:0/Bank:0/Value:0/MMS"),
          std::string("/Mixing/GEQRack2/Type:0/MMSGEQ"),
          std::string("/Mixing/GEQRack2/Type:0/MMS") + std::string(1, '\0'), std::string(kPlugin + "/LR:0/Parameter:64/Value:0/MMS"),
          std::string()}) {
        EXPECT_EQ(NameRemapTable::Lookup(n), nullptr) << n;
    }
}
