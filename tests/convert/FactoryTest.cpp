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

} // namespace

// Every value table: contiguous keys over its range, rising values where
// the table is a scale, and a few telling rows.
TEST(FactoryTables, TableSweep)
{
    FactoryPtr f(new TORVANParameterConverterFactory());
    const int firstKeys[] = {3, 0, -24, 0, 0, 0, 64, 0, 0, 0};
    const int lastKeys[] = {11, 126, 24, 127, 127, 127, 127, 127, 127, 127};
    for (int n = 0; n < 10; ++n) {
        const auto& t = f->table(n);
        ASSERT_FALSE(t.empty()) << "T" << n;
        EXPECT_EQ(t.begin()->first, firstKeys[n]) << "T" << n;
        EXPECT_EQ(t.rbegin()->first, lastKeys[n]) << "T" << n;
        EXPECT_EQ(static_cast<long long>(t.size()), lastKeys[n] - firstKeys[n] + 1LL) << "T" << n;
    }
    EXPECT_TRUE(f->table(-1).empty());
    EXPECT_TRUE(f->table(10).empty());
    for (int n : {4, 5, 7, 9}) {
        const auto& t = f->table(n);
        EXPECT_TRUE(std::is_sorted(t.begin(), t.end(), [](const auto& a, const auto& b) { return a.second < b.second; }))
            << "T" << n;
    }
    // T5 is the identity up to 100; T6 is T4 from key 64, capped at 1000.
    for (int k = 0; k <= 100; ++k)
        EXPECT_EQ(f->table(5).at(k), k);
    for (int k = 64; k <= 127; ++k)
        EXPECT_EQ(f->table(6).at(k), std::min(f->table(4).at(k), 1000)) << k;
    const std::map<int, int> t0{{3, 0}, {4, 1}, {5, 1}, {6, 2}, {7, 2}, {8, 3}, {9, 3}, {10, 4}, {11, 4}};
    EXPECT_EQ(f->table(0), t0);
    const int spots[][3] = {{1, 0, 100}, {1, 63, 50}, {1, 126, 0}, {2, -24, 20}, {2, 0, 60}, {2, 24, 100},
                            {3, 11, 174}, {3, 127, 2000}, {4, 127, 3970}, {5, 127, 500}, {7, 127, 4000},
                            {8, 127, 200}, {9, 98, 10000}, {9, 127, 50000}};
    for (const auto& x : spots)
        EXPECT_EQ(f->table(x[0]).at(x[1]), x[2]) << "T" << x[0] << " " << x[1];
}
