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
    struct Spot { int table; int key; int value; };
    const Spot spots[] = {
        {1, 0, 100},   {1, 63, 50},     {1, 126, 0},     {2, -24, 20},   {2, 0, 60},     {2, 1, 62},
        {2, 24, 100},  {3, 0, 1},       {3, 1, 17},      {3, 11, 174},   {3, 63, 993},   {3, 127, 2000},
        {4, 0, 5},     {4, 127, 3970},  {5, 100, 100},   {5, 101, 111},  {5, 127, 500},  {6, 64, 270},
        {6, 100, 975}, {6, 101, 1000},  {6, 127, 1000},  {7, 0, 10},     {7, 127, 4000}, {8, 0, 1},
        {8, 127, 200}, {9, 98, 10000},  {9, 127, 50000},
    };
    for (const Spot& x : spots)
        EXPECT_EQ(f->table(x.table).at(x.key), x.value) << "T" << x.table << " " << x.key;
    const std::map<int, int> t0{{3, 0}, {4, 1}, {5, 1}, {6, 2}, {7, 2}, {8, 3}, {9, 3}, {10, 4}, {11, 4}};
    EXPECT_EQ(f->table(0), t0);
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

TEST(FactoryMapping, EveryRemapRowIsAnsweredAndMissesGoToTheBase)
{
    auto f = makeFactory();
    const NameRemapRow* rows = NameRemapTable::rows();
    for (std::size_t i = 0; i < NameRemapTable::Size; ++i)
        EXPECT_STREQ(f->LookupParameterMapping(rows[i].target, false), rows[i].source) << rows[i].target;
    EXPECT_STREQ(f->LookupParameterMapping("/Mixing/GEQRack2/Type:0/MMS", true), "/Mixing/GEQRack2/Type:0/MMSGEQ");
    for (const char* miss : {"/FX/FX/Param:0/Bank:0/Value:6/MMS/Echo", "/Mixing/GEQRack2/Type:0/MMS/", ""})
        EXPECT_EQ(f->LookupParameterMapping(miss, false), nullptr) << miss;
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
