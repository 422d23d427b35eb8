#include "ConversionFixture.h"

#include "convert/TORVANParameterConverterFactory.h"
#include "host/IConverterIterator.h"
#include "host/IParameter.h"

#include <string>

namespace {

const char* const kName = "/Mixing/Mix/Fader/Level/MMS";

} // namespace

// Only an exact "RQ10" source makes a factory; a second one replaces it,
// other models and null keep what is held.
TEST(ConverterSlots, OnlyAnExactRq10SourceMakesOrReplacesTheFactory)
{
    IParameterConverterFactory* held = nullptr;
    for (const char* id : {"RQ1", "RQ10 ", "rq10", "RQ100", " RQ10", ""}) {
        MapMixer other(id);
        ConverterSlots::initFactory(held, &other);
        EXPECT_EQ(held, nullptr) << "'" << id << "'";
    }
    MapMixer rq10("RQ10"), other("KX9");
    ConverterSlots::initFactory(held, &rq10);
    ASSERT_NE(dynamic_cast<TORVANParameterConverterFactory*>(held), nullptr);
    IParameterConverterFactory* first = held;
    ConverterSlots::initFactory(held, &rq10);
    EXPECT_NE(held, first);
    IParameterConverterFactory* second = held;
    ConverterSlots::initFactory(held, &other);
    ConverterSlots::initFactory(held, nullptr);
    EXPECT_EQ(held, second);
    ConverterSlots::destroyFactory(held);
    EXPECT_EQ(held, nullptr);
    ConverterSlots::destroyFactory(held); // nothing left to destroy
}

TEST(ConverterSlots, ExceptionsPassOutAndLeaveNothingBehind)
{
    CatalogTargetMixer target;
    MapMixer source("RQ10");
    EXPECT_EQ(target.GetConverter(kName, &source, nullptr, false), nullptr); // no factory yet
    target.initParameterConverterFactory(&source);
    for (const char* refused : {"", kName}) {
        source.refused.insert(refused);
        try {
            target.GetConverter(*refused ? kName : "/Not/In/The/Catalogue/MMS", &source, nullptr, false);
            FAIL() << "no exception";
        } catch (ParameterNotFoundException* e) {
            EXPECT_EQ(e->mixerId(), *refused ? "RQ10" : "QORA");
            delete e;
        }
    }
    EXPECT_EQ(target.liveParameters, 0);
    EXPECT_EQ(source.liveParameters, 0);
}

TEST(ConverterSlots, CreateIteratorWalksTheParametersCatalogueRanges)
{
    CatalogTargetMixer target;
    MapMixer source("RQ10");
    IParameter* parameter = target.CreateParameter("/FX/FX/Param:0/Bank:0/Value:4/MMS/RevHD");
    EXPECT_EQ(target.CreateIterator(parameter, nullptr), nullptr);
    target.initParameterConverterFactory(&source);
    IConverterIterator* it = target.CreateIterator(parameter, nullptr);
    ASSERT_NE(it, nullptr);
    EXPECT_EQ(it->Count(), 16);
    int channel = -1, sub = -1;
    ASSERT_TRUE(it->Next(channel, sub));
    EXPECT_EQ(channel, 0);
    EXPECT_EQ(sub, 8);
    it->Destroy();
    parameter->Destroy();
}
