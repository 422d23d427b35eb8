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
#include "host/ParameterConverterFactory.h"
#include "host/ParameterNotFoundException.h"
#include "host/RangeFilter.h"
#include "host/SwitchConverter.h"

#include <gtest/gtest.h>

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

// A target mixer and a source mixer with channel ranges that differ, so the
// converters' channel intersection shows.
struct Mixers {
    MapMixer target{"TGT", {0, 119, 0, 0}};
    MapMixer source{"SRC", {0, 47, 0, 0}};

    template <class T>
    Tree<T> make(const char* targetName = kTarget, const char* sourceName = kSource)
    {
        return Tree<T>(new T(targetName, sourceName, &target, &source));
    }
};

// Filters and value converters that count their destruction.
int g_destroyed = 0;

class CountingFilter : public IFilter
{
public:
    explicit CountingFilter(bool pass) : m_pass(pass) {}
    ~CountingFilter() override { ++g_destroyed; }
    bool Pass(const ConversionContext&, const std::vector<int>&) const override { return m_pass; }

private:
    bool m_pass;
};

class CountingConverter : public IValueConverter
{
public:
    explicit CountingConverter(int add) : m_add(add) {}
    ~CountingConverter() override { ++g_destroyed; }
    bool Convert(const ConversionContext&, int input, int& output) override
    {
        output = input + m_add;
        return true;
    }

private:
    int m_add;
};

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

} // namespace

TEST(CopyPaste, CopiesTheSourceValueOfTheSameChannel)
{
    Mixers m;
    m.source.set(kSource, 5, -42);
    auto tree = m.make<CopyPasteParamConverter>();
    EXPECT_TRUE(tree->Convert(5, 0));
    ASSERT_EQ(m.target.writes.size(), 1u);
    EXPECT_EQ(m.target.writes[0].name, kTarget);
    EXPECT_EQ(m.target.writes[0].channel, 5);
    EXPECT_EQ(m.target.writes[0].value, -42);
    EXPECT_EQ(tree->GetSourceParameter()->GetName(), kSource);
    EXPECT_EQ(tree->GetTargetParameter()->GetName(), kTarget);
}

TEST(Ranges, ChannelsAreTheTargetsLimitedToTheSources)
{
    Mixers m;
    auto tree = m.make<CopyPasteParamConverter>();
    EXPECT_EQ(tree->GetStart(), 0);
    EXPECT_EQ(tree->GetEnd(), 47);
    EXPECT_TRUE(tree->CanConvert());

    m.source.set(kSource, 48, 1);
    EXPECT_FALSE(tree->Convert(48, 0));
    EXPECT_FALSE(tree->Convert(-1, 0));
    EXPECT_TRUE(m.target.writes.empty());
    EXPECT_EQ(m.source.reads, 0) << "a channel outside the range must not be read";

    m.source.setRanges("/Late/MMS", {4, 200, 0, 0});
    auto shifted = m.make<CopyPasteParamConverter>(kTarget, "/Late/MMS");
    EXPECT_EQ(shifted->GetStart(), 4);
    EXPECT_EQ(shifted->GetEnd(), 119);

    m.source.setRanges("/Far/MMS", {200, 210, 0, 0});
    auto disjoint = m.make<CopyPasteParamConverter>(kTarget, "/Far/MMS");
    EXPECT_FALSE(disjoint->CanConvert());
    IConverterIterator* it = disjoint->GetTargetIterator();
    EXPECT_EQ(it->Count(), 0);
    it->Destroy();
}

TEST(Ranges, SubIndicesAreTheTargetsAndLineUpWithTheSources)
{
    Mixers m;
    m.target.setRanges(kTarget, {0, 15, 7, 8});
    m.source.setRanges(kSource, {0, 63, 20, 20});
    m.source.set(kSource, 2, 55, 20);
    auto tree = m.make<CopyPasteParamConverter>();
    EXPECT_EQ(tree->SubIndexStart(), 7);
    EXPECT_EQ(tree->SubIndexEnd(), 8);
    EXPECT_EQ(tree->GetEnd(), 15);

    EXPECT_TRUE(tree->Convert(2, 7));
    ASSERT_EQ(m.target.writes.size(), 1u);
    EXPECT_EQ(m.target.writes[0].subIndex, 7);
    EXPECT_EQ(m.target.writes[0].value, 55);

    // Sub-index 8 is the second position; the source has only one.
    EXPECT_FALSE(tree->Convert(2, 8));
    EXPECT_FALSE(tree->Convert(2, 6));
    EXPECT_EQ(m.target.writes.size(), 1u);
}

TEST(Ranges, IteratorsWalkTheConvertedPairs)
{
    Mixers m;
    m.target.setRanges(kTarget, {0, 2, 5, 6});
    m.source.setRanges(kSource, {1, 9, 3, 3});
    auto tree = m.make<CopyPasteParamConverter>();

    IConverterIterator* it = tree->GetTargetIterator();
    EXPECT_EQ(it->Count(), 4);
    std::vector<std::pair<int, int>> seen;
    int channel = 0;
    int sub = 0;
    while (it->Next(channel, sub))
        seen.emplace_back(channel, sub);
    EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{1, 5}, {1, 6}, {2, 5}, {2, 6}}));
    it->Destroy();

    IConverterIterator* src = tree->GetSourceIterator();
    EXPECT_EQ(src->Count(), 2);
    ASSERT_TRUE(src->Next(channel, sub));
    EXPECT_EQ(channel, 1);
    EXPECT_EQ(sub, 3);
    src->Destroy();
}

TEST(Composite, EveryFilterMustPass)
{
    Mixers m;
    m.source.set(kSource, 1, 9);
    auto open = m.make<CompositeParamConverter>();
    open->AddFilter(new CountingFilter(true));
    open->AddFilter(new CountingFilter(true));
    EXPECT_TRUE(open->Convert(1, 0));
    EXPECT_EQ(m.target.get(kTarget, 1), 9);

    auto shut = m.make<CompositeParamConverter>();
    shut->AddFilter(new CountingFilter(true));
    shut->AddFilter(new CountingFilter(false));
    shut->AddConverter(new ConstantConverter(1));
    EXPECT_FALSE(shut->Convert(2, 0));
    EXPECT_FALSE(m.target.has(kTarget, 2));
}

TEST(Composite, ValueConvertersRunInOrderAndARefusingStepWritesNothing)
{
    Mixers m;
    m.source.set(kSource, 0, 3);
    auto offsetFirst = m.make<CompositeParamConverter>();
    offsetFirst->AddConverter(new OffsetValueConverter(1));
    offsetFirst->AddConverter(new MultiplyValueConverter(10));
    EXPECT_TRUE(offsetFirst->Convert(0, 0));
    EXPECT_EQ(m.target.get(kTarget, 0), 40);

    auto multiplyFirst = m.make<CompositeParamConverter>();
    multiplyFirst->AddConverter(new MultiplyValueConverter(10));
    multiplyFirst->AddConverter(new OffsetValueConverter(1));
    EXPECT_TRUE(multiplyFirst->Convert(0, 0));
    EXPECT_EQ(m.target.get(kTarget, 0), 31);

    auto refusing = m.make<CompositeParamConverter>();
    refusing->AddConverter(new OffsetValueConverter(1));
    refusing->AddConverter(new MapValueConverter({{0, 0}}, false));
    EXPECT_FALSE(refusing->Convert(0, 0));
    EXPECT_EQ(m.target.writes.size(), 2u);
}

TEST(Dependencies, ReadFromTheSourceUnderTheTargetFactorysMapping)
{
    Mixers m;
    MappingFactory factory;
    m.target.factory = &factory;
    m.source.set("/Source/Kind/MMS", 4, 7);
    m.source.set("/Target/Type/MMS", 4, 0);   // the unmapped name must not be read
    m.source.set(kSource, 4, 12);

    auto tree = m.make<IfThenElseConverter>();
    tree->AddDependency("/Target/Type/MMS");
    tree->AddCondition(new DependencyFilter({6, 7}, true, 0));
    tree->AddIf(new ConstantConverter(0));
    tree->AddElse(new CopyValueConverter());
    EXPECT_TRUE(tree->Convert(4, 0));
    EXPECT_EQ(m.target.get(kTarget, 4), 0);
    EXPECT_EQ(tree->GetDependentParameters(), std::vector<std::string>{"/Target/Type/MMS"});

    m.source.set("/Source/Kind/MMS", 5, 5);
    m.source.set(kSource, 5, 12);
    EXPECT_TRUE(tree->Convert(5, 0));
    EXPECT_EQ(m.target.get(kTarget, 5), 12);
}

TEST(Dependencies, UnmappedNamesAreReadAsTheyAreInTheOrderAdded)
{
    Mixers m;
    m.source.set("/A/MMS", 0, 1);
    m.source.set("/B/MMS", 0, 2);
    auto tree = m.make<CompositeParamConverter>();
    tree->AddDependency("/A/MMS");
    tree->AddDependency("/B/MMS");
    tree->AddFilter(new DependencyFilter({2}, true, 1));
    tree->AddFilter(new DependencyFilter({1}, true, 0));
    EXPECT_TRUE(tree->Convert(0, 0));
    EXPECT_FALSE(tree->Convert(1, 0));
    EXPECT_EQ(tree->GetDependentParameters(), (std::vector<std::string>{"/A/MMS", "/B/MMS"}));

    // With a factory that has no mapping for the name.
    MappingFactory factory;
    m.target.factory = &factory;
    auto mapped = m.make<CompositeParamConverter>();
    mapped->AddDependency("/A/MMS");
    mapped->AddFilter(new DependencyFilter({1}, true, 0));
    EXPECT_TRUE(mapped->Convert(0, 0));
}

// Cases are tried in order; the first passing one gives the value.
TEST(Switch, FirstPassingCaseGivesTheValue)
{
    Mixers m;
    auto tree = m.make<SwitchConverter>();
    tree->AddDependency("/Type/MMS");
    tree->AddCase(new DependencyFilter({4}, true, 0), new ConstantConverter(-1));
    tree->AddCase(new DependencyFilter({5}, true, 0), new OffsetValueConverter(2));
    tree->AddCase(new DependencyFilter({5, 6}, true, 0), new ConstantConverter(-3));
    struct Row { int type; bool written; int value; };
    const Row rows[] = {{4, true, -1}, {5, true, 12}, {6, true, -3}, {9, false, 0}};
    for (int ch = 0; ch < 4; ++ch) {
        m.source.set("/Type/MMS", ch, rows[ch].type);
        m.source.set(kSource, ch, 10);
        EXPECT_EQ(tree->Convert(ch, 0), rows[ch].written) << rows[ch].type;
        EXPECT_EQ(m.target.has(kTarget, ch), rows[ch].written) << rows[ch].type;
        if (rows[ch].written)
            EXPECT_EQ(m.target.get(kTarget, ch), rows[ch].value) << rows[ch].type;
    }
    EXPECT_FALSE(m.make<SwitchConverter>()->Convert(0, 0));

    // A null case always passes and copies; converters then apply, filters gate.
    auto plain = m.make<SwitchConverter>();
    plain->AddCase(nullptr, nullptr);
    plain->AddConverter(new MultiplyValueConverter(3));
    EXPECT_TRUE(plain->Convert(1, 0));
    EXPECT_EQ(m.target.get(kTarget, 1), 30);
    plain->AddFilter(new CountingFilter(false));
    m.target.writes.clear();
    EXPECT_FALSE(plain->Convert(2, 0));
    EXPECT_TRUE(m.target.writes.empty());
}

TEST(IfThenElse, ConditionPicksTheBranchFiltersGateTheWhole)
{
    Mixers m;
    for (int ch = 0; ch < 3; ++ch)
        m.source.set(kSource, ch, 10 + ch);
    auto tree = m.make<IfThenElseConverter>();
    tree->AddCondition(new RangeFilter(true, 10, false, 0, true));
    tree->AddIf(new ConstantConverter(10));
    tree->AddElse(new OffsetValueConverter(100));
    EXPECT_TRUE(tree->Convert(0, 0));
    EXPECT_TRUE(tree->Convert(1, 0));
    EXPECT_EQ(m.target.get(kTarget, 0), 10);
    EXPECT_EQ(m.target.get(kTarget, 1), 111);
    tree->AddFilter(new CountingFilter(false));
    EXPECT_FALSE(tree->Convert(2, 0));

    auto onlyIf = m.make<IfThenElseConverter>();
    onlyIf->AddCondition(new RangeFilter(true, 10, false, 0, true));
    onlyIf->AddIf(new ConstantConverter(1));
    EXPECT_FALSE(onlyIf->Convert(2, 0));
    EXPECT_FALSE(m.target.has(kTarget, 2));

    auto unconditional = m.make<IfThenElseConverter>();
    unconditional->AddIf(new OffsetValueConverter(1));
    unconditional->AddElse(new ConstantConverter(-1));
    EXPECT_TRUE(unconditional->Convert(2, 0));
    EXPECT_EQ(m.target.get(kTarget, 2), 13);
}

TEST(Ownership, DestroyReleasesParametersFiltersAndConverters)
{
    Mixers m;
    g_destroyed = 0;
    {
        auto tree = m.make<IfThenElseConverter>();
        tree->AddDependency("/A/MMS");
        tree->AddDependency("/B/MMS");
        tree->AddFilter(new CountingFilter(true));
        tree->AddCondition(new CountingFilter(true));
        tree->AddIf(new CountingConverter(1));
        tree->AddElse(new CountingConverter(2));
        tree->AddConverter(new CountingConverter(3));
        EXPECT_EQ(m.target.liveParameters, 1);
        EXPECT_EQ(m.source.liveParameters, 3);
    }
    EXPECT_EQ(g_destroyed, 5);
    EXPECT_EQ(m.target.liveParameters, 0);
    EXPECT_EQ(m.source.liveParameters, 0);

    g_destroyed = 0;
    {
        auto tree = m.make<SwitchConverter>();
        tree->AddCase(new CountingFilter(true), new CountingConverter(0));
        tree->AddCase(new CountingFilter(false), nullptr);
    }
    EXPECT_EQ(g_destroyed, 3);
}

TEST(Ownership, AHalfBuiltTreeIsReleasedWhenADependencyThrows)
{
    Mixers m;
    m.source.refused.insert("/Missing/MMS");
    g_destroyed = 0;
    try {
        auto tree = m.make<SwitchConverter>();
        tree->AddDependency("/Present/MMS");
        tree->AddCase(new CountingFilter(true), new CountingConverter(0));
        tree->AddDependency("/Missing/MMS");
        FAIL() << "CreateParameter's exception did not pass out";
    } catch (ConverterException* e) {
        delete e;
    }
    EXPECT_EQ(g_destroyed, 2);
    EXPECT_EQ(m.target.liveParameters, 0);
    EXPECT_EQ(m.source.liveParameters, 0);
}

TEST(Ownership, ARefusedParameterOrNullMixerLeavesNothingBehind)
{
    Mixers m;
    m.source.refused.insert(kSource);
    try {
        m.make<CompositeParamConverter>();
        FAIL() << "CreateParameter's exception did not pass out";
    } catch (ParameterNotFoundException* e) {
        EXPECT_EQ(e->parameterName(), kSource);
        delete e;
    }
    EXPECT_EQ(m.target.createdParameters, 1);
    EXPECT_EQ(m.target.liveParameters, 0);
    try {
        CopyPasteParamConverter bad(kTarget, "/Other/MMS", &m.target, nullptr);
        FAIL() << "a null source mixer was accepted";
    } catch (ConverterException* e) {
        EXPECT_NE(std::string(e->what()).find("/Other/MMS"), std::string::npos);
        delete e;
    }
    EXPECT_EQ(m.target.liveParameters, 0);
}
