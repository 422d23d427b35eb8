#include "host/DependencyFilter.h"
#include "host/IValueConverter.h"
#include "host/RangeFilter.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

struct Row {
    const IFilter* filter;
    int sourceValue;
    std::vector<int> dependencies;
    bool passes;
};

void check(const std::vector<Row>& rows)
{
    for (std::size_t i = 0; i < rows.size(); ++i) {
        ConversionContext c;
        c.sourceValue = rows[i].sourceValue;
        EXPECT_EQ(rows[i].filter->Pass(c, rows[i].dependencies), rows[i].passes) << "row " << i;
    }
}

} // namespace

// The chosen dependency must (or, with the flag false, must not) hold one of
// the values; a missing dependency fails either way; the source value plays no part.
TEST(DependencyFilter, ChosenDependencyAgainstTheValueSet)
{
    const DependencyFilter in67({6, 7}, true, 0), notIn67({6, 7}, false, 0), second({200}, true, 1),
        third({0}, true, 2), negative({0}, true, -1), notSecond({0}, false, 1), is3({3}, true, 0);
    check({{&in67, 0, {6}, true},       {&in67, 0, {7, 0}, true},      {&in67, 0, {5}, false},
           {&in67, 0, {8}, false},      {&second, 0, {0, 200}, true},  {&second, 0, {200, 0}, false},
           {&notIn67, 0, {6}, false},   {&notIn67, 0, {5}, true},      {&in67, 0, {}, false},
           {&third, 0, {0, 0}, false},  {&negative, 0, {0}, false},    {&notSecond, 0, {5}, false},
           {&is3, 99, {3}, true},       {&is3, 3, {99}, false}});
}

// Bounds on the source value, each inclusive or not; dependencies play no part.
TEST(RangeFilter, BoundsOnTheSourceValue)
{
    const RangeFilter atMost10(true, 10, false, 0, true), below10(true, 10, false, 0, false),
        from2To5(true, 5, true, 2, true), above2(false, 0, true, 2, false), none(false, 0, false, 0, true),
        atMost2(true, 2, false, 0, true);
    check({{&atMost10, 10, {}, true},     {&atMost10, INT_MIN, {}, true}, {&atMost10, 11, {}, false},
           {&below10, 10, {}, false},     {&below10, 9, {}, true},        {&from2To5, 1, {}, false},
           {&from2To5, 2, {}, true},      {&from2To5, 5, {}, true},       {&from2To5, 6, {}, false},
           {&above2, 2, {}, false},       {&above2, INT_MAX, {}, true},   {&none, INT_MIN, {}, true},
           {&atMost2, 3, {0, 1, 2}, false}});
}
