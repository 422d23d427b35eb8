#include "CatalogTargetMixer.h"
#include "MapMixer.h"

#include "convert/ConverterSlots.h"
#include "convert/TORVANParameterConverterFactory.h"
#include "host/CopyPasteParamConverter.h"
#include "host/IConverterIterator.h"
#include "host/IParameter.h"
#include "host/ParameterConverterFactory.h"
#include "host/ParameterNotFoundException.h"

#include <gtest/gtest.h>

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
    std::string createdSource;

    bool IsParameterSupported(const std::string&, IConversionDescription*) override { return supported; }
    const char* LookupParameterMapping(const std::string&, bool flag) override
    {
        flags.push_back(flag);
        return mapping;
    }
    bool RemapDestParam(const std::string&, std::string& sourceName, IConversionDescription*) override
    {
        sourceName = remapTo;   // written even when the answer is false
        return remap;
    }
    IParameterConverter* CreateConverter(const std::string&, const std::string& sourceName, IMixer*, IMixer*,
                                         bool flag) override
    {
        flags.push_back(flag);
        createdSource = sourceName;
        return made;
    }
};

const char* const kName = "/Mixing/Mix/Fader/Level/MMS";

void release(IParameterConverter* c)
{
    if (c)
        c->Destroy();
}

} // namespace

// Only an exact "RQ10" source makes a factory; a second one replaces it,
// other models and null keep what is held.
TEST(InitFactory, OnlyAnExactRq10SourceMakesOrReplacesTheFactory)
{
    IParameterConverterFactory* held = nullptr;
    for (const char* id : {"RQ1", "RQ10 ", "rq10", "RQ100", " RQ10", ""}) {
        MapMixer other(id);
        ConverterSlots::initFactory(held, &other);
        EXPECT_EQ(held, nullptr) << "'" << id << "'";
    }
    ConverterSlots::initFactory(held, nullptr);
    EXPECT_EQ(held, nullptr);

    MapMixer rq10("RQ10");
    MapMixer other("KX9");
    ConverterSlots::initFactory(held, &rq10);
    ASSERT_NE(dynamic_cast<TORVANParameterConverterFactory*>(held), nullptr);
    IParameterConverterFactory* first = held;
    ConverterSlots::initFactory(held, &rq10);
    ASSERT_NE(held, nullptr);
    EXPECT_NE(held, first);
    IParameterConverterFactory* second = held;
    ConverterSlots::initFactory(held, &other);
    ConverterSlots::initFactory(held, nullptr);
    EXPECT_EQ(held, second);
    ConverterSlots::destroyFactory(held);
    EXPECT_EQ(held, nullptr);
    ConverterSlots::destroyFactory(held);   // nothing left to destroy
}

TEST(GetConverter, NoFactoryOrUnsupportedNameGivesNull)
{
    CatalogTargetMixer target;
    MapMixer source("RQ10");
    EXPECT_EQ(target.GetConverter(kName, &source, nullptr, false), nullptr);
    target.initParameterConverterFactory(&source);
    IConverterIterator* none = ConverterSlots::createIterator(nullptr, nullptr, nullptr);
    EXPECT_EQ(none, nullptr);

    ScriptedFactory scripted;
    scripted.supported = false;
    IParameterConverterFactory* real = target.factory;
    target.factory = &scripted;
    EXPECT_EQ(target.GetConverter(kName, &source, nullptr, false), nullptr);
    EXPECT_TRUE(scripted.flags.empty()) << "an unsupported name went on to the mapping";
    target.factory = real;
    EXPECT_EQ(target.liveParameters, 0);
}

TEST(GetConverter, SourceNameFromMappingThenRemap)
{
    CatalogTargetMixer target;
    MapMixer source("RQ10");
    ScriptedFactory scripted;
    target.factory = &scripted;

    // No mapping, a remap that writes but answers false: the target name stays.
    scripted.remapTo = "/Ignored/MMS";
    IParameterConverter* c = target.GetConverter(kName, &source, nullptr, true);
    ASSERT_NE(dynamic_cast<CopyPasteParamConverter*>(c), nullptr);
    EXPECT_EQ(c->GetSourceParameter()->GetName(), kName);
    EXPECT_EQ(scripted.createdSource, kName);
    release(c);

    // A mapping, then a remap that answers true.
    scripted.mapping = "/Mapped/MMS";
    scripted.remap = false;
    c = target.GetConverter(kName, &source, nullptr, false);
    EXPECT_EQ(c->GetSourceParameter()->GetName(), "/Mapped/MMS");
    release(c);
    scripted.remap = true;
    scripted.remapTo = "/Remapped/MMS";
    c = target.GetConverter(kName, &source, nullptr, false);
    EXPECT_EQ(c->GetSourceParameter()->GetName(), "/Remapped/MMS");
    EXPECT_EQ(c->GetTargetParameter()->GetName(), kName);
    EXPECT_EQ(scripted.createdSource, "/Remapped/MMS");
    release(c);

    // The flag travels to the mapping and to CreateConverter unchanged.
    EXPECT_EQ(scripted.flags, (std::vector<bool>{true, true, false, false, false, false}));

    // A converter the factory makes is returned as it is.
    scripted.made = new CopyPasteParamConverter(kName, "/Own/MMS", &target, &source);
    c = target.GetConverter(kName, &source, nullptr, false);
    EXPECT_EQ(c, scripted.made);
    release(c);
    target.factory = nullptr;
    EXPECT_EQ(target.liveParameters, 0);
    EXPECT_EQ(source.liveParameters, 0);
}

TEST(GetConverter, ExceptionsPassOutAndLeaveNothingBehind)
{
    CatalogTargetMixer target;
    MapMixer source("RQ10");
    target.initParameterConverterFactory(&source);
    try {
        target.GetConverter("/Not/In/The/Catalogue/MMS", &source, nullptr, false);
        FAIL() << "no exception";
    } catch (ParameterNotFoundException* e) {
        EXPECT_EQ(e->mixerId(), "QORA");
        delete e;
    }
    source.refused.insert("/Mixing/Mix/Fader/Level/MMS");
    try {
        target.GetConverter(kName, &source, nullptr, false);
        FAIL() << "no exception";
    } catch (ParameterNotFoundException* e) {
        EXPECT_EQ(e->mixerId(), "RQ10");
        delete e;
    }
    EXPECT_EQ(target.liveParameters, 0);
    EXPECT_EQ(source.liveParameters, 0);
}

TEST(CreateIterator, WalksTheParametersCatalogueRanges)
{
    CatalogTargetMixer target;
    MapMixer source("RQ10");
    IParameter* parameter = target.CreateParameter("/FX/FX/Param:0/Bank:0/Value:4/MMS/RevHD");
    EXPECT_EQ(target.CreateIterator(parameter, nullptr), nullptr);
    target.initParameterConverterFactory(&source);
    IConverterIterator* it = target.CreateIterator(parameter, nullptr);
    ASSERT_NE(it, nullptr);
    EXPECT_EQ(it->Count(), 16);
    int channel = -1;
    int sub = -1;
    ASSERT_TRUE(it->Next(channel, sub));
    EXPECT_EQ(channel, 0);
    EXPECT_EQ(sub, 8);
    it->Destroy();
    parameter->Destroy();
}
