#pragma once

#include "CatalogTargetMixer.h"
#include "MapMixer.h"

#include "host/IParameterConverter.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

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

    Tree tree(const std::string& targetName)
    {
        return Tree(target.GetConverter(targetName, &source, nullptr, false));
    }

    // Converts one channel of `targetName` (at its first sub-index) with a
    // fresh tree; true and the written value when something was written.
    bool convert(const std::string& targetName, int channel, int& value)
    {
        Tree t = tree(targetName);
        EXPECT_TRUE(t) << targetName;
        if (!t)
            return false;
        target.writes.clear();
        const bool written = t->Convert(channel, t->SubIndexStart());
        EXPECT_EQ(written, !target.writes.empty()) << targetName;
        if (target.writes.empty())
            return false;
        EXPECT_EQ(target.writes.size(), 1u);
        EXPECT_EQ(target.writes[0].name, targetName);
        EXPECT_EQ(target.writes[0].channel, channel);
        EXPECT_EQ(target.writes[0].subIndex, t->SubIndexStart());
        value = target.writes[0].value;
        return true;
    }

    // The value written, or `nothing` when the channel wrote nothing.
    static constexpr int nothing = -999999;
    int result(const std::string& targetName, int channel)
    {
        int value = 0;
        return convert(targetName, channel, value) ? value : nothing;
    }
};
