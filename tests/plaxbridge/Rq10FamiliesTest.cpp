// The RQ10 stand-in must offer what the KX9 rules read from an RQ10: every
// source name of the remap table and of the dynamics rules, on at least as
// many channels as the KX9 parameter it feeds.
#include "Rq10Families.h"

#include "convert/NameRemapTable.h"
#include "params/ParameterCatalog.h"

#include <gtest/gtest.h>

#include <string>

namespace {

bool isText(const std::string& name)
{
    return name.find("LibraryName") != std::string::npos
           || name.find("SongFilePath") != std::string::npos
           || name.find("/Label:0/Name:0/") != std::string::npos;
}

} // namespace

TEST(Rq10Families, EveryNumericRemapSourceIsAnRq10ParameterWithEnoughChannels)
{
    const NameRemapRow* rows = NameRemapTable::rows();
    int numeric = 0;
    for (std::size_t i = 0; i < NameRemapTable::Size; ++i) {
        const std::string source = rows[i].source;
        const Rq10Family* family = Rq10Families::find(source);
        if (isText(source)) {
            EXPECT_EQ(family, nullptr) << source;
            continue;
        }
        ++numeric;
        ASSERT_NE(family, nullptr) << source;
        // Some rows name targets the catalogue lacks (velmar parameters 49..63);
        // a conversion never asks for them.
        const CatalogEntry* target = ParameterCatalog::find(rows[i].target);
        if (!target)
            continue;
        EXPECT_GE(family->channels, target->channelMax + 1) << source << " feeding " << rows[i].target;
    }
    // Only a handful of text rows exist: library names and the song file path.
    EXPECT_GT(numeric, 1690);
}

TEST(Rq10Families, TheTypeSpecificDynamicsParametersExist)
{
    const char* const banks[] = {
        "/Mixing/InputChannel/Dynamics:0/Bank:0", "/Mixing/InputChannel/Dynamics:0/Bank:1",
        "/Mixing/InputChannel/Dynamics:1/Bank:0", "/Mixing/InputChannel/Dynamics:1/Bank:1",
        "/Mixing/Mix/Dynamics:0/Bank:0",          "/Mixing/Mix/Dynamics:0/Bank:1",
        "/Mixing/Matrix/Dynamics:0/Bank:0",       "/Mixing/Matrix/Dynamics:0/Bank:1",
        "/Mixing/Stereo/Dynamics:0/Bank:0",       "/Mixing/Stereo/Dynamics:0/Bank:1",
    };
    const char* const leaves[] = {
        "Gate/Threshold", "Gate/Attack", "Gate/Range", "Gate/Hold", "Gate/Decay",
        "Ducking/Threshold", "Ducking/Attack", "Ducking/Range", "Ducking/Hold", "Ducking/Decay",
        "Expander/Threshold", "Expander/Attack", "Expander/Release", "Expander/Ratio",
        "Expander/Knee", "Expander/Gain", "DeEsser/Threshold", "DeEsser/Frequency", "DeEsser/Q",
        "DeEsser/Type", "Classic_Comp/Threshold", "Classic_Comp/Attack", "Classic_Comp/Release",
        "Classic_Comp/Ratio", "Classic_Comp/Knee", "Classic_Comp/Gain",
    };
    for (const char* bank : banks) {
        for (const char* leaf : leaves) {
            const std::string name = std::string(bank) + "/" + leaf + "/MMS";
            EXPECT_NE(Rq10Families::find(name), nullptr) << name;
        }
    }
}

TEST(Rq10Families, NameListHeadsAreTheOnesTheKx9Recognises)
{
    EXPECT_EQ(Rq10Families::findNameClass("/Mixing/InputChannel/Label:0/Name:0/MMS"), 0);
    EXPECT_EQ(Rq10Families::findNameClass("/VelmarRack/VelmarRack2/PlugIn:0/LR:0/LibraryName:0/MMSFx"), 6);
    EXPECT_EQ(Rq10Families::findNameClass("/VelmarRack/VelmarRack2/PlugIn:0/LR:1/LibraryName:0/MMS"), 8);
    EXPECT_EQ(Rq10Families::findNameClass("/FX/FX/Param:0/LibraryName:0/MMS"), -1);
    EXPECT_EQ(Rq10Families::findNameClass("/Mixing/InputChannel/Label:0/Name:0/MMS "), -1);
    // Each list covers at least the KX9's channels of its class.
    const Rq10NameClass* classes = Rq10Families::nameClasses();
    for (std::size_t i = 0; i < Rq10Families::NameClassCount; ++i) {
        std::string kx9 = classes[i].head;
        if (i == 6)
            kx9 = "/FX/FX/Param:0/LibraryName:0/MMS";
        const CatalogEntry* entry = ParameterCatalog::find(kx9);
        ASSERT_NE(entry, nullptr) << kx9;
        EXPECT_GE(classes[i].channels, entry->channelMax + 1) << kx9;
    }
}
