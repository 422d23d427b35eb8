#include "convert/NameRemapTable.h"
#include "convert/TORVANParameterConverterFactory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>

namespace {

struct ReleaseFactory {
    void operator()(TORVANParameterConverterFactory* f) const { f->Destroy(); }
};
using FactoryPtr = std::unique_ptr<TORVANParameterConverterFactory, ReleaseFactory>;

FactoryPtr makeFactory()
{
    return FactoryPtr(new TORVANParameterConverterFactory());
}

// The integer nearest to numerator / denominator, both positive; the tables'
// formulas never land halfway.
long long nearest(long long numerator, long long denominator)
{
    return (2 * numerator + denominator) / (2 * denominator);
}

} // namespace

TEST(FactoryTables, SizesAndKeyRanges)
{
    auto f = makeFactory();
    const std::size_t sizes[] = {9, 127, 49, 128, 128, 128, 64, 128, 128, 128};
    const int firstKeys[] = {3, 0, -24, 0, 0, 0, 64, 0, 0, 0};
    const int lastKeys[] = {11, 126, 24, 127, 127, 127, 127, 127, 127, 127};
    for (int n = 0; n < 10; ++n) {
        const auto& t = f->table(n);
        ASSERT_EQ(t.size(), sizes[n]) << "T" << n;
        EXPECT_EQ(t.begin()->first, firstKeys[n]) << "T" << n;
        EXPECT_EQ(t.rbegin()->first, lastKeys[n]) << "T" << n;
        // Contiguous keys: the size equals the key span.
        EXPECT_EQ(static_cast<long long>(t.size()), lastKeys[n] - firstKeys[n] + 1LL) << "T" << n;
    }
    EXPECT_TRUE(f->table(-1).empty());
    EXPECT_TRUE(f->table(10).empty());
}

TEST(FactoryTables, SpotValues)
{
    auto f = makeFactory();
    EXPECT_EQ(f->table(1).at(63), 50);
    EXPECT_EQ(f->table(1).at(0), 100);
    EXPECT_EQ(f->table(1).at(126), 0);
    EXPECT_EQ(f->table(2).at(-24), 20);
    EXPECT_EQ(f->table(2).at(0), 60);
    EXPECT_EQ(f->table(2).at(24), 100);
    EXPECT_EQ(f->table(6).at(64), 270);
    EXPECT_EQ(f->table(6).at(100), 975);
    EXPECT_EQ(f->table(6).at(101), 1000);
    EXPECT_EQ(f->table(6).at(127), 1000);
    EXPECT_EQ(f->table(3).at(0), 1);
    EXPECT_EQ(f->table(3).at(1), 17);
    EXPECT_EQ(f->table(3).at(127), 2000);
    EXPECT_EQ(f->table(8).at(0), 1);
    EXPECT_EQ(f->table(8).at(127), 200);
    EXPECT_EQ(f->table(4).at(0), 5);
    EXPECT_EQ(f->table(4).at(127), 3970);
    EXPECT_EQ(f->table(5).at(100), 100);
    EXPECT_EQ(f->table(5).at(101), 111);
    EXPECT_EQ(f->table(5).at(127), 500);
    EXPECT_EQ(f->table(7).at(0), 10);
    EXPECT_EQ(f->table(7).at(127), 4000);
    EXPECT_EQ(f->table(9).at(98), 10000);
    EXPECT_EQ(f->table(9).at(127), 50000);
    const std::map<int, int> t0{{3, 0}, {4, 1}, {5, 1}, {6, 2}, {7, 2}, {8, 3}, {9, 3}, {10, 4}, {11, 4}};
    EXPECT_EQ(f->table(0), t0);
}

TEST(FactoryTables, FormulaTablesRoundToNearest)
{
    auto f = makeFactory();
    for (int k = 0; k <= 126; ++k)
        EXPECT_EQ(f->table(1).at(k), nearest(100 * 126 - 100 * k, 126)) << "T1 " << k;
    for (int k = -24; k <= 24; ++k)
        EXPECT_EQ(f->table(2).at(k), nearest(180 + 5 * k, 3)) << "T2 " << k;
    for (int k = 0; k <= 127; ++k) {
        EXPECT_EQ(f->table(3).at(k), nearest(127 + 1999 * k, 127)) << "T3 " << k;
        EXPECT_EQ(f->table(8).at(k), nearest(127 + 199 * k, 127)) << "T8 " << k;
    }
}

TEST(FactoryTables, DerivedTables)
{
    auto f = makeFactory();
    for (int k = 64; k <= 127; ++k)
        EXPECT_EQ(f->table(6).at(k), std::min(f->table(4).at(k), 1000)) << k;
    for (int k = 0; k <= 100; ++k)
        EXPECT_EQ(f->table(5).at(k), k);
    // The listed tables rise with the key.
    for (int n : {4, 5, 7, 9}) {
        const auto& t = f->table(n);
        EXPECT_TRUE(std::is_sorted(t.begin(), t.end(),
                                   [](const auto& a, const auto& b) { return a.second < b.second; }))
            << "T" << n;
    }
}

TEST(FactoryMapping, RemapTableFirstThenTheBase)
{
    auto f = makeFactory();
    EXPECT_STREQ(f->LookupParameterMapping("/Mixing/InputChannel/Dynamics:1/Bank:1/Parameter:5/Value/MMS", false),
                 "/Mixing/InputChannel/Dynamics:1/Bank:1/RQ_Comp/Gain/MMS");
    EXPECT_STREQ(f->LookupParameterMapping("/Mixing/GEQRack2/Type:0/MMS", true), "/Mixing/GEQRack2/Type:0/MMSGEQ");
    EXPECT_STREQ(f->LookupParameterMapping("/FX/FX/Param:0/PluginName:0/MMS", false),
                 "/VelmarRack/VelmarRack2/PlugIn:0/PluginName/MMSFx");
    EXPECT_STREQ(f->LookupParameterMapping("/FX/FX/Param:0/PluginName:0/MMS/Rev", false),
                 "/VelmarRack/VelmarRack2/PlugIn:0/LR:0/Parameter:0/Value:0/MMSFx");
    // Echo slot 6 has no row; nor do near misses.
    EXPECT_EQ(f->LookupParameterMapping("/FX/FX/Param:0/Bank:0/Value:6/MMS/Echo", false), nullptr);
    EXPECT_EQ(f->LookupParameterMapping("/Mixing/GEQRack2/Type:0/MMS/", false), nullptr);
    EXPECT_EQ(f->LookupParameterMapping("/mixing/GEQRack2/Type:0/MMS", false), nullptr);
    EXPECT_EQ(f->LookupParameterMapping("", false), nullptr);
}

TEST(FactoryMapping, EveryRemapRowIsAnswered)
{
    auto f = makeFactory();
    const NameRemapRow* rows = NameRemapTable::rows();
    for (std::size_t i = 0; i < NameRemapTable::Size; ++i)
        EXPECT_STREQ(f->LookupParameterMapping(rows[i].target, false), rows[i].source) << rows[i].target;
}

TEST(FactoryFrame, SupportsEveryNameAndLeavesRemapAndIteratorsToTheBase)
{
    auto f = makeFactory();
    EXPECT_TRUE(f->IsParameterSupported("", nullptr));
    EXPECT_TRUE(f->IsParameterSupported("/No/Such/MMS", nullptr));
    std::string source = "/Kept/MMS";
    EXPECT_FALSE(f->RemapDestParam("/Mixing/Mix/Fader/Level/MMS", source, nullptr));
    EXPECT_EQ(source, "/Kept/MMS");
    EXPECT_EQ(f->CreateIterator(nullptr, nullptr), nullptr);
    EXPECT_EQ(f->CreateConverter("/No/Such/MMS", "/No/Such/MMS", nullptr, nullptr, false), nullptr);
}
