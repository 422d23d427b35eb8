#pragma once

#include "MapMixer.h"

#include "convert/ConverterSlots.h"
#include "host/IParameterConverter.h"
#include "host/ParameterNotFoundException.h"
#include "params/ParameterCatalog.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

// An in-test target mixer: names and ranges are those of the parameter
// catalogue, values live in memory, and the conversion slots run the
// plug-in's own steps (ConverterSlots) on a factory it holds.
class CatalogTargetMixer : public MapMixer
{
public:
    CatalogTargetMixer()
        : MapMixer("QORA")
    {
        rangeHook = [](const std::string& name, Ranges& r) {
            const CatalogEntry* e = ParameterCatalog::find(name);
            r = e ? Ranges{e->channelMin, e->channelMax, e->subMin, e->subMax} : r;
            return e != nullptr;
        };
    }
    ~CatalogTargetMixer() override { ConverterSlots::destroyFactory(factory); }

    IParameter* CreateParameter(const std::string& name) override
    {
        if (!ParameterCatalog::find(name))
            throw new ParameterNotFoundException("Parameter Id not found", name, GetMixerId());
        return MapMixer::CreateParameter(name);
    }
    void initParameterConverterFactory(IMixer* source) override { ConverterSlots::initFactory(factory, source); }
    IParameterConverter* GetConverter(const std::string& targetName, IMixer* source, IConversionDescription* d,
                                      bool flag) override
    {
        return ConverterSlots::getConverter(this, targetName, source, d, flag);
    }
    IConverterIterator* CreateIterator(IParameter* parameter, IConversionDescription* d) override
    {
        return ConverterSlots::createIterator(factory, parameter, d);
    }
};

// A catalogue target paired with an "RQ10" source; every test ends with all
// parameters of both mixers released.
class ConversionFixture : public ::testing::Test
{
protected:
    struct Release {
        void operator()(IParameterConverter* c) const { c->Destroy(); }
    };
    using Tree = std::unique_ptr<IParameterConverter, Release>;

    CatalogTargetMixer target;
    MapMixer source{"RQ10", {0, 127, 0, 0}};

    void SetUp() override
    {
        target.initParameterConverterFactory(&source);
        ASSERT_NE(target.GetParameterConverterFactory(), nullptr);
    }
    void TearDown() override
    {
        EXPECT_EQ(target.liveParameters, 0) << "a tree kept target parameters";
        EXPECT_EQ(source.liveParameters, 0) << "a tree kept source parameters";
    }

    Tree tree(const std::string& targetName) { return Tree(target.GetConverter(targetName, &source, nullptr, false)); }

    // The value one channel of `targetName` (at its first sub-index) writes
    // with a fresh tree, `nothing` when it writes nothing.
    static constexpr int nothing = -999999;
    int result(const std::string& targetName, int channel)
    {
        Tree t = tree(targetName);
        if (!t) {
            ADD_FAILURE() << "no tree for " << targetName;
            return nothing;
        }
        target.writes.clear();
        const bool written = t->Convert(channel, t->SubIndexStart());
        EXPECT_EQ(written, !target.writes.empty()) << targetName;
        if (target.writes.empty())
            return nothing;
        EXPECT_EQ(target.writes.size(), 1u);
        const MapMixer::Write& w = target.writes[0];
        EXPECT_TRUE(w.name == targetName && w.channel == channel && w.subIndex == t->SubIndexStart()) << targetName;
        return w.value;
    }
};
