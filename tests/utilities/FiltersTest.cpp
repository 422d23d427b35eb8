#include "host/DependencyFilter.h"
#include "host/IValueConverter.h"
#include "host/RangeFilter.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

ConversionContext withSource(int value)
{
    ConversionContext c;
    c.sourceValue = value;
    return c;
}

} // namespace

TEST(DependencyFilter, PassesWhenTheChosenDependencyHoldsOneOfTheValues)
{
    const DependencyFilter filter({6, 7}, true, 0);
    const ConversionContext c;
    EXPECT_TRUE(filter.Pass(c, {6}));
    EXPECT_TRUE(filter.Pass(c, {7, 0}));
    EXPECT_FALSE(filter.Pass(c, {5}));
    EXPECT_FALSE(filter.Pass(c, {8}));
}

TEST(DependencyFilter, LooksOnlyAtItsIndex)
{
    const DependencyFilter second({200}, true, 1);
    const ConversionContext c;
    EXPECT_TRUE(second.Pass(c, {0, 200}));
    EXPECT_FALSE(second.Pass(c, {200, 0}));
}

TEST(DependencyFilter, FalseFlagPassesWhenTheValueIsNotInTheSet)
{
    const DependencyFilter filter({6, 7}, false, 0);
    const ConversionContext c;
    EXPECT_FALSE(filter.Pass(c, {6}));
    EXPECT_TRUE(filter.Pass(c, {5}));
}

TEST(DependencyFilter, MissingDependencyFails)
{
    const ConversionContext c;
    EXPECT_FALSE(DependencyFilter({0}, true, 0).Pass(c, {}));
    EXPECT_FALSE(DependencyFilter({0}, true, 2).Pass(c, {0, 0}));
    EXPECT_FALSE(DependencyFilter({0}, true, -1).Pass(c, {0}));
    EXPECT_FALSE(DependencyFilter({0}, false, 1).Pass(c, {5}));
}

TEST(DependencyFilter, IgnoresTheSourceValue)
{
    const DependencyFilter filter({3}, true, 0);
    EXPECT_TRUE(filter.Pass(withSource(99), {3}));
    EXPECT_FALSE(filter.Pass(withSource(3), {99}));
}

TEST(RangeFilter, InclusiveUpperBound)
{
    const RangeFilter atMost10(true, 10, false, 0, true);
    EXPECT_TRUE(atMost10.Pass(withSource(10), {}));
    EXPECT_TRUE(atMost10.Pass(withSource(-5), {}));
    EXPECT_TRUE(atMost10.Pass(withSource(INT_MIN), {}));
    EXPECT_FALSE(atMost10.Pass(withSource(11), {}));
}

TEST(RangeFilter, ExclusiveBoundsAndLowerBound)
{
    const RangeFilter below10(true, 10, false, 0, false);
    EXPECT_FALSE(below10.Pass(withSource(10), {}));
    EXPECT_TRUE(below10.Pass(withSource(9), {}));

    const RangeFilter from2To5(true, 5, true, 2, true);
    EXPECT_FALSE(from2To5.Pass(withSource(1), {}));
    EXPECT_TRUE(from2To5.Pass(withSource(2), {}));
    EXPECT_TRUE(from2To5.Pass(withSource(5), {}));
    EXPECT_FALSE(from2To5.Pass(withSource(6), {}));

    const RangeFilter above2(false, 0, true, 2, false);
    EXPECT_FALSE(above2.Pass(withSource(2), {}));
    EXPECT_TRUE(above2.Pass(withSource(INT_MAX), {}));
}

TEST(RangeFilter, NoBoundPassesAndDependenciesPlayNoPart)
{
    const RangeFilter none(false, 0, false, 0, true);
    EXPECT_TRUE(none.Pass(withSource(INT_MIN), {}));
    const RangeFilter atMost2(true, 2, false, 0, true);
    EXPECT_FALSE(atMost2.Pass(withSource(3), {0, 1, 2}));
}
