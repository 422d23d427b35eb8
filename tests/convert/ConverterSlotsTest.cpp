#include "ConversionFixture.h"

#include "convert/TORVANParameterConverterFactory.h"
#include "host/CopyPasteParamConverter.h"
#include "host/IConverterIterator.h"
#include "host/IParameter.h"
#include "host/ParameterConverterFactory.h"

#include <string>
#include <vector>

namespace {

// A factory whose answers each test chooses, recording what it was asked.
class ScriptedFactory : public ParameterConverterFactory
{
public:
    bool supported = true;
    const char* mapping = nullptr;
    bool remap = false;
    std::string remapTo;
    IParameterConverter* made = nullptr;
    std::vector<bool> flags;

    bool IsParameterSupported(const std::string&, IConversionDescription*) override { return supported; }
    const char* LookupParameterMapping(const std::string&, bool flag) override
    {
        flags.push_back(flag);
        return mapping;
    }
    bool RemapDestParam(const std::string&, std::string& sourceName, IConversionDescription*) override
    {
        sourceName = remapTo; // written even when the answer is false
        return remap;
    }
    IParameterConverter* CreateConverter(const std::string&, const std::string&, IMixer*, IMixer*, bool flag) override
    {
        flags.push_back(flag);
        return made;
    }
};

const char* const kName = "/Mixing/Mix/Fader/Level/MMS";

// The source parameter of the converter GetConverter makes, "" for none.
std::string sourceOf(IMixer& target, MapMixer& source, bool flag = false)
{
    IParameterConverter* c = target.GetConverter(kName, &source, nullptr, flag);
    const std::string name = c ? c->GetSourceParameter()->GetName() : "";
    if (c)
        c->Destroy();
    return name;
}

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

// The source name: the factory's mapping, else the target's own name; then
// its remap where it answers true. Without a converter of the factory's a
// plain copy is made.
TEST(ConverterSlots, GetConverterAsksTheFactoryInTurn)
{
    CatalogTargetMixer target;
    MapMixer source("RQ10");
    EXPECT_EQ(sourceOf(target, source), "");
    ScriptedFactory scripted;
    target.factory = &scripted;
    scripted.supported = false;
    EXPECT_EQ(sourceOf(target, source), "");
    EXPECT_TRUE(scripted.flags.empty()) << "an unsupported name went on to the mapping";

    scripted.supported = true;
    scripted.remapTo = "/Ignored/MMS";
    EXPECT_EQ(sourceOf(target, source, true), kName);
    scripted.mapping = "/Mapped/MMS";
    EXPECT_EQ(sourceOf(target, source), "/Mapped/MMS");
    scripted.remap = true;
    scripted.remapTo = "/Remapped/MMS";
    EXPECT_EQ(sourceOf(target, source), "/Remapped/MMS");
    // The flag travels to the mapping and to CreateConverter unchanged.
    EXPECT_EQ(scripted.flags, (std::vector<bool>{true, true, false, false, false, false}));

    scripted.made = new CopyPasteParamConverter(kName, "/Own/MMS", &target, &source);
    EXPECT_EQ(sourceOf(target, source), "/Own/MMS");
    target.factory = nullptr;
    EXPECT_EQ(target.liveParameters, 0);
    EXPECT_EQ(source.liveParameters, 0);
}

TEST(ConverterSlots, ExceptionsPassOutAndLeaveNothingBehind)
{
    CatalogTargetMixer target;
    MapMixer source("RQ10");
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
