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

// Without a factory: no converter, no iterator. With one: iterators over the
// catalogue's ranges, and the mixers' exceptions pass out leaving nothing.
TEST(ConverterSlots, ConvertersAndIteratorsComeFromTheFactory)
{
    CatalogTargetMixer target;
    MapMixer source("RQ10");
    IParameter* parameter = target.CreateParameter("/FX/FX/Param:0/Bank:0/Value:4/MMS/RevHD");
    EXPECT_EQ(target.GetConverter(kName, &source, nullptr, false), nullptr);
    EXPECT_EQ(target.CreateIterator(parameter, nullptr), nullptr);
    target.initParameterConverterFactory(&source);
    IConverterIterator* it = target.CreateIterator(parameter, nullptr);
    ASSERT_NE(it, nullptr);
    EXPECT_EQ(it->Count(), 16);
    int channel = -1, sub = -1;
    EXPECT_TRUE(it->Next(channel, sub) && channel == 0 && sub == 8) << channel << " " << sub;
    it->Destroy();
    parameter->Destroy();

    for (const char* refused : {"", kName}) {
        source.refused.insert(refused);
        try {
            target.GetConverter(*refused ? kName : "/Not/In/The/Catalogue/MMS", &source, nullptr, false);
            ADD_FAILURE() << "no exception";
        } catch (ParameterNotFoundException* e) {
            EXPECT_EQ(e->mixerId(), *refused ? "RQ10" : "QORA");
            delete e;
        }
    }
    EXPECT_EQ(target.liveParameters, 0);
    EXPECT_EQ(source.liveParameters, 0);
}
