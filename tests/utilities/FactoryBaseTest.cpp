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

using Pairs = std::vector<std::pair<int, int>>;

// Walks an iterator to its end (at most 100 steps), checking Count() against
// the walk, and releases it.
Pairs walk(IConverterIterator* it)
{
    Pairs seen;
    int channel = 0;
    int sub = 0;
    while (it->Next(channel, sub) && seen.size() < 100)
        seen.emplace_back(channel, sub);
    EXPECT_EQ(it->Count(), static_cast<int>(seen.size()));
    it->Reset();
    Pairs again;
    while (it->Next(channel, sub) && again.size() < 100)
        again.emplace_back(channel, sub);
    EXPECT_EQ(again, seen) << "Reset starts the walk again";
    it->Destroy();
    return seen;
}

} // namespace

TEST(FactoryBase, MapsNothingAndIteratesTheParametersRanges)
{
    ParameterConverterFactory factory;
    MapMixer mixer("M");
    EXPECT_TRUE(factory.IsParameterSupported("", nullptr));
    EXPECT_EQ(factory.LookupParameterMapping("/Mixing/Mix/Fader/Level/MMS", false), nullptr);
    std::string source = "/Kept/MMS";
    EXPECT_FALSE(factory.RemapDestParam("/Any/MMS", source, nullptr));
    EXPECT_EQ(source, "/Kept/MMS");
    EXPECT_EQ(factory.CreateConverter("/Any/MMS", "/Any/MMS", &mixer, &mixer, false), nullptr);

    mixer.setRanges("/Rack/Value/MMS", {0, 2, 6, 7});
    IParameter* parameter = mixer.CreateParameter("/Rack/Value/MMS");
    EXPECT_EQ(walk(factory.CreateIterator(parameter, nullptr)),
              (Pairs{{0, 6}, {0, 7}, {1, 6}, {1, 7}, {2, 6}, {2, 7}}));
    parameter->Destroy();
    // No parameter: no iterator; a parameter without a mixer: nothing to walk.
    EXPECT_EQ(factory.CreateIterator(nullptr, nullptr), nullptr);
    Parameter orphan(nullptr, 1, "/Orphan/MMS");
    EXPECT_TRUE(walk(factory.CreateIterator(&orphan, nullptr)).empty());
}

TEST(RangeIterator, EmptyRangesYieldNothingAndIntMaxEndsTerminate)
{
    EXPECT_TRUE(walk(new ParameterRangeIterator(5, 4, 0, 0)).empty());
    EXPECT_TRUE(walk(new ParameterRangeIterator(0, 4, 1, 0)).empty());
    EXPECT_EQ(walk(new ParameterRangeIterator(INT_MAX - 1, INT_MAX, INT_MAX, INT_MAX)),
              (Pairs{{INT_MAX - 1, INT_MAX}, {INT_MAX, INT_MAX}}));
}
