#include "MapMixer.h"

#include "host/CompositeParamConverter.h"
#include "host/ConstantConverter.h"
#include "host/ConverterException.h"
#include "host/CopyPasteParamConverter.h"
#include "host/CopyValueConverter.h"
#include "host/DependencyFilter.h"
#include "host/IConverterIterator.h"
#include "host/IParameter.h"
#include "host/IfThenElseConverter.h"
#include "host/MapValueConverter.h"
#include "host/MultiplyValueConverter.h"
#include "host/OffsetValueConverter.h"
#include "host/Parameter.h"
#include "host/ParameterConverterFactory.h"
#include "host/ParameterNotFoundException.h"
#include "host/ParameterRangeIterator.h"
#include "host/RangeFilter.h"
#include "host/SwitchConverter.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <utility>
#include <vector>

namespace {

const char* const kTarget = "/Target/Level/MMS";
const char* const kSource = "/Source/Level/MMS";

struct ReleaseConverter {
    void operator()(IParameterConverter* c) const { c->Destroy(); }
};
template <class T>
using Tree = std::unique_ptr<T, ReleaseConverter>;

// Filters that let every channel through, or none.
IFilter* passing()
{
    return new RangeFilter(false, 0, false, 0, true);
}
IFilter* blocking()
{
    return new RangeFilter(true, INT_MIN, false, 0, false);
}

// Maps one target-model dependency name to a differently named source parameter.
class MappingFactory : public ParameterConverterFactory
{
public:
    const char* LookupParameterMapping(const std::string& name, bool flag) override
    {
        if (name == "/Target/Type/MMS")
            return "/Source/Kind/MMS";
        return ParameterConverterFactory::LookupParameterMapping(name, flag);
    }
};

// A target and a source mixer whose channel ranges differ, so the trees'
// channel intersection shows; the source holds 10 + channel on kSource.
class ConverterTree : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (int ch = 0; ch < 8; ++ch)
            source.set(kSource, ch, 10 + ch);
    }

    template <class T>
    Tree<T> make(const char* targetName = kTarget, const char* sourceName = kSource)
    {
        return Tree<T>(new T(targetName, sourceName, &target, &source));
    }

    // Converts channels 0..n-1; the target's value or -1 where nothing was written.
    std::vector<int> convert(IParameterConverter& tree, int n)
    {
        std::vector<int> out;
        for (int ch = 0; ch < n; ++ch) {
            const bool written = tree.Convert(ch, 0);
            EXPECT_EQ(written, target.has(kTarget, ch)) << "channel " << ch;
            out.push_back(written ? target.get(kTarget, ch) : -1);
        }
        return out;
    }

    MapMixer target{"TGT", {0, 119, 0, 0}};
    MapMixer source{"SRC", {0, 47, 0, 0}};
};

using Pairs = std::vector<std::pair<int, int>>;

// Walks an iterator to its end (at most 100 steps) twice, around a Reset,
// checks Count() against the walk and releases the iterator.
Pairs walk(IConverterIterator* it)
{
    Pairs seen[2];
    int channel = 0;
    int sub = 0;
    for (Pairs& pairs : seen) {
        it->Reset();
        while (it->Next(channel, sub) && pairs.size() < 100)
            pairs.emplace_back(channel, sub);
    }
    EXPECT_EQ(seen[0], seen[1]);
    EXPECT_EQ(it->Count(), static_cast<int>(seen[0].size()));
    it->Destroy();
    return seen[0];
}

} // namespace

TEST_F(ConverterTree, ChannelsAreTheTargetsLimitedToTheSources)
{
    auto tree = make<CopyPasteParamConverter>();
    EXPECT_EQ(convert(*tree, 2), (std::vector<int>{10, 11}));
    EXPECT_EQ(target.writes.size(), 2u);
    EXPECT_EQ(std::make_pair(tree->GetStart(), tree->GetEnd()), std::make_pair(0, 47));
    EXPECT_TRUE(tree->CanConvert());

    source.set(kSource, 48, 1);
    const int reads = source.reads;
    EXPECT_FALSE(tree->Convert(48, 0));
    EXPECT_FALSE(tree->Convert(-1, 0));
    EXPECT_EQ(target.writes.size(), 2u);
    EXPECT_EQ(source.reads, reads) << "a channel outside the range must not be read";

    source.setRanges("/Late/MMS", {4, 200, 0, 0});
    auto shifted = make<CopyPasteParamConverter>(kTarget, "/Late/MMS");
    EXPECT_EQ(std::make_pair(shifted->GetStart(), shifted->GetEnd()), std::make_pair(4, 119));

    source.setRanges("/Far/MMS", {200, 210, 0, 0});
    auto disjoint = make<CopyPasteParamConverter>(kTarget, "/Far/MMS");
    EXPECT_FALSE(disjoint->CanConvert());
    EXPECT_TRUE(walk(disjoint->GetTargetIterator()).empty());
}

TEST_F(ConverterTree, SubIndicesAreTheTargetsAndLineUpWithTheSources)
{
    target.setRanges(kTarget, {0, 2, 7, 8});
    source.setRanges(kSource, {1, 63, 20, 20});
    source.set(kSource, 2, 55, 20);
    auto tree = make<CopyPasteParamConverter>();
    EXPECT_EQ(std::make_pair(tree->SubIndexStart(), tree->SubIndexEnd()), std::make_pair(7, 8));
    EXPECT_EQ(walk(tree->GetTargetIterator()), (Pairs{{1, 7}, {1, 8}, {2, 7}, {2, 8}}));
    EXPECT_EQ(walk(tree->GetSourceIterator()), (Pairs{{1, 20}, {2, 20}}));

    EXPECT_TRUE(tree->Convert(2, 7));
    ASSERT_EQ(target.writes.size(), 1u);
    EXPECT_EQ(target.writes[0].subIndex, 7);
    EXPECT_EQ(target.writes[0].value, 55);
    // Sub-index 8 is the second position; the source has only one.
    EXPECT_FALSE(tree->Convert(2, 8));
    EXPECT_FALSE(tree->Convert(2, 6));
    EXPECT_EQ(target.writes.size(), 1u);
}

TEST_F(ConverterTree, CompositeNeedsEveryFilterAndRunsItsConvertersInOrder)
{
    auto offsetFirst = make<CompositeParamConverter>();
    offsetFirst->AddFilter(passing());
    offsetFirst->AddConverter(new OffsetValueConverter(1));
    offsetFirst->AddConverter(new MultiplyValueConverter(10));
    EXPECT_EQ(convert(*offsetFirst, 1), std::vector<int>{110});

    auto multiplyFirst = make<CompositeParamConverter>();
    multiplyFirst->AddConverter(new MultiplyValueConverter(10));
    multiplyFirst->AddConverter(new OffsetValueConverter(1));
    EXPECT_EQ(convert(*multiplyFirst, 1), std::vector<int>{101});

    target.writes.clear();
    auto shut = make<CompositeParamConverter>();
    shut->AddFilter(passing());
    shut->AddFilter(blocking());
    EXPECT_FALSE(shut->Convert(2, 0));
    // A step that refuses halfway writes nothing.
    auto refusing = make<CompositeParamConverter>();
    refusing->AddConverter(new OffsetValueConverter(1));
    refusing->AddConverter(new MapValueConverter({{0, 0}}, false));
    EXPECT_FALSE(refusing->Convert(3, 0));
    EXPECT_TRUE(target.writes.empty());
}

TEST_F(ConverterTree, DependenciesAreReadFromTheSourceUnderTheTargetFactorysMapping)
{
    MappingFactory factory;
    target.factory = &factory;
    source.set("/Source/Kind/MMS", 0, 7);
    source.set("/Source/Kind/MMS", 1, 5);
    source.set("/Target/Type/MMS", 0, 5);   // the unmapped name must not be read
    source.set("/A/MMS", 0, 1);
    source.set("/A/MMS", 1, 1);
    source.set("/A/MMS", 2, 1);
    auto tree = make<IfThenElseConverter>();
    tree->AddDependency("/Target/Type/MMS");
    tree->AddDependency("/A/MMS");   // no mapping: read under its own name
    tree->AddFilter(new DependencyFilter({1}, true, 1));
    tree->AddCondition(new DependencyFilter({6, 7}, true, 0));
    tree->AddIf(new ConstantConverter(0));
    tree->AddElse(new CopyValueConverter());
    EXPECT_EQ(convert(*tree, 4), (std::vector<int>{0, 11, 12, -1}));
}

// Cases are tried in order; the first passing one gives the value, then the
// tree's converters apply; a null case passes and copies.
TEST_F(ConverterTree, SwitchTakesTheFirstPassingCase)
{
    auto tree = make<SwitchConverter>();
    tree->AddDependency("/Type/MMS");
    tree->AddCase(new DependencyFilter({4}, true, 0), new ConstantConverter(-1));
    tree->AddCase(new DependencyFilter({5}, true, 0), new OffsetValueConverter(2));
    tree->AddCase(new DependencyFilter({5, 6}, true, 0), new ConstantConverter(-3));
    tree->AddConverter(new MultiplyValueConverter(2));
    const int types[] = {4, 5, 6, 9};
    for (int ch = 0; ch < 4; ++ch)
        source.set("/Type/MMS", ch, types[ch]);
    EXPECT_EQ(convert(*tree, 4), (std::vector<int>{-2, 26, -6, -1}));
    EXPECT_FALSE(make<SwitchConverter>()->Convert(0, 0));

    auto plain = make<SwitchConverter>();
    plain->AddCase(nullptr, nullptr);
    EXPECT_TRUE(plain->Convert(5, 0));
    EXPECT_EQ(target.get(kTarget, 5), 15);
    plain->AddFilter(blocking());
    EXPECT_FALSE(plain->Convert(6, 0));
}

TEST_F(ConverterTree, IfThenElseConditionPicksTheBranchAndFiltersGateTheWhole)
{
    auto tree = make<IfThenElseConverter>();
    tree->AddCondition(new RangeFilter(true, 10, false, 0, true));
    tree->AddIf(new ConstantConverter(10));
    tree->AddElse(new OffsetValueConverter(100));
    EXPECT_EQ(convert(*tree, 2), (std::vector<int>{10, 111}));
    tree->AddFilter(blocking());
    EXPECT_FALSE(tree->Convert(2, 0));

    auto onlyIf = make<IfThenElseConverter>();   // an empty branch writes nothing
    onlyIf->AddCondition(new RangeFilter(true, 10, false, 0, true));
    onlyIf->AddIf(new ConstantConverter(1));
    EXPECT_FALSE(onlyIf->Convert(3, 0));
    auto unconditional = make<IfThenElseConverter>();
    unconditional->AddIf(new OffsetValueConverter(1));
    unconditional->AddElse(new ConstantConverter(-1));
    EXPECT_TRUE(unconditional->Convert(4, 0));
    EXPECT_EQ(target.get(kTarget, 4), 15);
}

// A throw while building releases the parameters made so far (what else a
// tree holds, leaked or not, the sanitizer build's leak check sees).
TEST_F(ConverterTree, ABuildThatThrowsReleasesItsParameters)
{
    // A dependency the source refuses, after parts were added.
    source.refused.insert("/Missing/MMS");
    EXPECT_TRUE(thrown<ConverterException>([&] {
        auto tree = make<SwitchConverter>();
        tree->AddDependency("/Present/MMS");
        tree->AddCase(passing(), new OffsetValueConverter(0));
        tree->AddDependency("/Missing/MMS");
    }));
    // A refused source parameter, after the target's was made; no source mixer.
    source.refused.insert(kSource);
    const auto missing = thrown<ParameterNotFoundException>([&] { make<CompositeParamConverter>(); });
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->parameterName(), kSource);
    const auto noSource = thrown<ConverterException>([&] { CopyPasteParamConverter(kTarget, "/Other/MMS", &target, nullptr); });
    ASSERT_TRUE(noSource);
    EXPECT_NE(std::string(noSource->what()).find("/Other/MMS"), std::string::npos);
    EXPECT_EQ(target.createdParameters, 3);
    EXPECT_EQ(target.liveParameters, 0);
    EXPECT_EQ(source.liveParameters, 0);
}

TEST(FactoryBase, IteratesTheParametersRanges)
{
    ParameterConverterFactory factory;
    MapMixer mixer("M");
    mixer.setRanges("/Rack/Value/MMS", {0, 2, 6, 7});
    IParameter* parameter = mixer.CreateParameter("/Rack/Value/MMS");
    EXPECT_EQ(walk(factory.CreateIterator(parameter, nullptr)), (Pairs{{0, 6}, {0, 7}, {1, 6}, {1, 7}, {2, 6}, {2, 7}}));
    parameter->Destroy();
    // No parameter: no iterator; a parameter without a mixer: nothing to walk.
    EXPECT_EQ(factory.CreateIterator(nullptr, nullptr), nullptr);
    Parameter orphan(nullptr, 1, "/Orphan/MMS");
    EXPECT_TRUE(walk(factory.CreateIterator(&orphan, nullptr)).empty());
    // Empty ranges yield nothing; ranges ending at INT_MAX end.
    EXPECT_TRUE(walk(new ParameterRangeIterator(5, 4, 0, 0)).empty());
    EXPECT_TRUE(walk(new ParameterRangeIterator(0, 4, 1, 0)).empty());
    EXPECT_EQ(walk(new ParameterRangeIterator(INT_MAX - 1, INT_MAX, INT_MAX, INT_MAX)),
              (Pairs{{INT_MAX - 1, INT_MAX}, {INT_MAX, INT_MAX}}));
}
