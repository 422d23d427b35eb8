#include "convert/NameRemapTable.h"
#include "params/ParameterCatalog.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>

namespace {

const std::string kPlugin = "/VelmarRack/VelmarRack2/PlugIn:0";

std::string lookup(const std::string& target)
{
    const char* source = NameRemapTable::Lookup(target);
    return source ? source : "<none>";
}

} // namespace

// Every row: a distinct target, in one of four groups (same name, dynamics
// slot from the RQ compressor, FX from a plug-in parameter, GEQ rack), with
// every renamed target in the catalogue.
TEST(NameRemapTable, RowSweep)
{
    const std::regex dynamics(R"((/Mixing/\w+/Dynamics:\d/Bank:\d)/Parameter:(\d)/Value/MMS)");
    const std::regex pluginParameter(kPlugin + R"(/LR:[01]/Parameter:(\d+)/Value:0/MMS)");
    const std::regex targetForm(R"(.*/MMS(/\w+)?|.*/MMSDugan)");
    const char* const compressor[] = {"Threshold", "Attack", "Release", "Ratio", "Knee", "Gain"};
    int same = 0, sameInCatalogue = 0, dyn = 0, fx = 0, geq = 0;
    std::set<std::string> targets;
    for (std::size_t i = 0; i < NameRemapTable::Size; ++i) {
        const std::string target = NameRemapTable::rows()[i].target;
        const std::string source = NameRemapTable::rows()[i].source;
        SCOPED_TRACE(target);
        EXPECT_TRUE(targets.insert(target).second) << "duplicate target";
        EXPECT_TRUE(std::regex_match(target, targetForm));
        const bool inCatalogue = ParameterCatalog::find(target) != nullptr;
        std::smatch m;
        if (target == source) {
            ++same;
            sameInCatalogue += inCatalogue;
            // Same-name rows the catalogue lacks: velmar library names without
            // ":0" and the plug-in parameters 49..63 of both sides.
            if (!inCatalogue && std::regex_match(target, m, pluginParameter)) {
                EXPECT_GE(std::stoi(m[1]), 49);
            } else if (!inCatalogue) {
                EXPECT_EQ(target.substr(target.size() - 16), "/LibraryName/MMS");
            }
            continue;
        }
        EXPECT_TRUE(inCatalogue);
        if (std::regex_match(target, m, dynamics)) {
            ++dyn;
            EXPECT_EQ(source, m[1].str() + "/RQ_Comp/" + compressor[std::stoi(m[2])] + "/MMS");
        } else if (target.rfind("/FX/FX/", 0) == 0) {
            ++fx;
            EXPECT_TRUE(source.rfind(kPlugin + "/", 0) == 0 && source.substr(source.size() - 6) == "/MMSFx") << source;
        } else if (source == target + "GEQ" && target.rfind("/Mixing/GEQRack2/", 0) == 0) {
            ++geq;
        } else {
            ADD_FAILURE() << "row in no group: " << source;
        }
    }
    EXPECT_EQ(same, 1278);
    EXPECT_EQ(sameInCatalogue, 1278 - 2 - 30);
    EXPECT_EQ(dyn, 60);
    EXPECT_EQ(fx, 189);
    EXPECT_EQ(geq, 182);
}

TEST(NameRemapTable, TellingLookupsAndMisses)
{
    EXPECT_EQ(lookup("/Mixing/InputChannel/Dynamics:1/Bank:1/Parameter:5/Value/MMS"),
              "/Mixing/InputChannel/Dynamics:1/Bank:1/RQ_Comp/Gain/MMS");
    EXPECT_EQ(lookup("/Mixing/GEQRack2/Type:0/MMS"), "/Mixing/GEQRack2/Type:0/MMSGEQ");
    EXPECT_EQ(lookup("/FX/FX/Param:0/PluginName:0/MMS/Rev"), kPlugin + "/LR:0/Parameter:0/Value:0/MMSFx");
    EXPECT_EQ(lookup("/FX/FX/Param:0/Bank:0/Value:3/MMS/Rev"), kPlugin + "/LR:0/Parameter:5/Value:0/MMSFx");
    EXPECT_EQ(lookup("/FX/FX/MixBalance:0/MMS/AmpSim"), kPlugin + "/LR:0/Parameter:12/Value:0/MMSFx");
    // Names without a row go to the library's own lookup.
    for (const std::string& n :
         {std::string("/FX/FX/Param:0/Bank:0/Value:6/MMS/Echo"), std::string("/FX/FX/MixBalance:0/MMS"),
          std::string("/FX/FX/Param:0/Bank:0/Value:0/MMS"), std::string("/Mixing/GEQRack2/Type:0/MMSGEQ"),
          std::string("/Mixing/GEQRack2/Type:0/MMS") + std::string(1, '\0'), kPlugin + "/LR:0/Parameter:64/Value:0/MMS",
          std::string()})
        EXPECT_EQ(NameRemapTable::Lookup(n), nullptr) << n;
}
