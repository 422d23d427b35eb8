#include "MapMixer.h"

#include "host/IConverterIterator.h"
#include "host/IParameter.h"
#include "host/Parameter.h"
#include "host/ParameterConverterFactory.h"
#include "host/ParameterRangeIterator.h"

#include <gtest/gtest.h>

#include <climits>
#include <utility>
#include <vector>

namespace {

std::vector<std::pair<int, int>> walk(IConverterIterator* it)
{
    std::vector<std::pair<int, int>> seen;
    int channel = 0;
    int sub = 0;
    while (it->Next(channel, sub) && seen.size() < 100)
        seen.emplace_back(channel, sub);
    return seen;
}

} // namespace

TEST(FactoryBase, GivesNoMappingNoRemapAndNoConverter)
{
    ParameterConverterFactory factory;
    MapMixer mixer("M");
    EXPECT_TRUE(factory.IsParameterSupported("", nullptr));
    EXPECT_EQ(factory.LookupParameterMapping("/Mixing/Mix/Fader/Level/MMS", false), nullptr);
    EXPECT_EQ(factory.LookupParameterMapping("/Mixing/Mix/Fader/Level/MMS", true), nullptr);
    std::string source = "/Kept/MMS";
    EXPECT_FALSE(factory.RemapDestParam("/Any/MMS", source, nullptr));
    EXPECT_EQ(source, "/Kept/MMS");
    EXPECT_EQ(factory.CreateConverter("/Any/MMS", "/Any/MMS", &mixer, &mixer, false), nullptr);
    EXPECT_EQ(mixer.createdParameters, 0);
}

TEST(FactoryBase, IteratesTheParametersChannelAndSubIndexRanges)
{
    ParameterConverterFactory factory;
    MapMixer mixer("M");
    mixer.setRanges("/Rack/Value/MMS", {0, 2, 6, 7});
    IParameter* parameter = mixer.CreateParameter("/Rack/Value/MMS");
    IConverterIterator* it = factory.CreateIterator(parameter, nullptr);
    ASSERT_NE(it, nullptr);
    EXPECT_EQ(it->Count(), 6);
    const auto first = walk(it);
    EXPECT_EQ(first, (std::vector<std::pair<int, int>>{{0, 6}, {0, 7}, {1, 6}, {1, 7}, {2, 6}, {2, 7}}));
    int channel = -1;
    int sub = -1;
    EXPECT_FALSE(it->Next(channel, sub));
    it->Reset();
    EXPECT_EQ(walk(it), first);
    it->Destroy();
    parameter->Destroy();
}

TEST(FactoryBase, NullParameterGivesNoIteratorAndMixerlessParameterAnEmptyOne)
{
    ParameterConverterFactory factory;
    EXPECT_EQ(factory.CreateIterator(nullptr, nullptr), nullptr);
    Parameter orphan(nullptr, 1, "/Orphan/MMS");
    IConverterIterator* it = factory.CreateIterator(&orphan, nullptr);
    ASSERT_NE(it, nullptr);
    EXPECT_EQ(it->Count(), 0);
    EXPECT_TRUE(walk(it).empty());
    it->Destroy();
}

TEST(RangeIterator, EmptyRangesYieldNothingAndIntMaxEndsTerminate)
{
    for (auto* empty : {new ParameterRangeIterator(5, 4, 0, 0), new ParameterRangeIterator(0, 4, 1, 0)}) {
        EXPECT_EQ(empty->Count(), 0);
        EXPECT_TRUE(walk(empty).empty());
        empty->Destroy();
    }
    auto* it = new ParameterRangeIterator(INT_MAX - 1, INT_MAX, INT_MAX, INT_MAX);
    EXPECT_EQ(it->Count(), 2);
    EXPECT_EQ(walk(it), (std::vector<std::pair<int, int>>{{INT_MAX - 1, INT_MAX}, {INT_MAX, INT_MAX}}));
    it->Destroy();
}
