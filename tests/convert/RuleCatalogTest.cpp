#include "ConversionFixture.h"

#include "convert/DynamicsRules.h"
#include "convert/EffectRackRules.h"
#include "convert/NameRemapTable.h"
#include "host/CompositeParamConverter.h"
#include "host/IParameter.h"
#include "host/IParameterConverterFactory.h"
#include "params/ParameterCatalog.h"

#include <set>
#include <string>
#include <vector>

namespace {

std::vector<std::string> ruleTargets()
{
    std::vector<std::string> names;
    for (std::size_t i = 0; i < DynamicsRules::Size; ++i)
        names.emplace_back(DynamicsRules::rules()[i].target);
    for (std::size_t i = 0; i < EffectRackRules::Size; ++i)
        names.emplace_back(EffectRackRules::rules()[i].target);
    return names;
}

} // namespace

TEST(RuleCatalog, CountsAndDistinctTargetsInTheCatalogue)
{
    EXPECT_EQ(DynamicsRules::Size, 82u);
    EXPECT_EQ(EffectRackRules::Size, 184u);
    const auto names = ruleTargets();
    ASSERT_EQ(names.size(), 266u);
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), 266u);
    for (const auto& name : names)
        EXPECT_NE(ParameterCatalog::find(name), nullptr) << name;
}

TEST(RuleCatalog, EffectRulesCoverTheTypeVariantsButSixInTheirOwnGroups)
{
    std::set<std::string> variants;
    for (std::size_t i = 0; i < ParameterCatalog::Size; ++i) {
        const std::string name = ParameterCatalog::entries()[i].name;
        if (name.find("/MMS/") != std::string::npos) // the effect-type variants
            variants.insert(name);
    }
    ASSERT_EQ(variants.size(), 190u);
    for (std::size_t i = 0; i < EffectRackRules::Size; ++i) {
        const auto& rule = EffectRackRules::rules()[i];
        const std::string name = rule.target;
        EXPECT_EQ(variants.erase(name), 1u) << name;
        // A rule's group is the effect its tag names; bank judges only for
        // groups of a single type.
        const std::string tag = EffectRackRules::group(rule.group).tag;
        EXPECT_EQ(name.substr(name.size() - tag.size() - 1), "/" + tag) << name;
        if (rule.shape == EffectRackRules::Shape::BankJudge) {
            EXPECT_EQ(EffectRackRules::group(rule.group).typeCount, 1) << name;
        }
    }
    const std::set<std::string> unruled{
        "/FX/FX/Param:0/Bank:0/Value:2/MMS/Tremolo", "/FX/FX/Param:0/Bank:0/Value:2/MMS/ATPan",
        "/FX/FX/Param:0/Bank:0/Value:5/MMS/Rotary", "/FX/FX/Param:0/Bank:0/Value:7/MMS/Rotary",
        "/FX/FX/Param:0/Bank:0/Value:9/MMS/Rotary", "/FX/FX/Param:0/Bank:0/Value:11/MMS/Rotary"};
    EXPECT_EQ(variants, unruled);
}

using RuleTrees = ConversionFixture;

// Every rule builds its own tree, whose dependencies all have remap rows.
TEST_F(RuleTrees, EveryRuleBuildsATreeWithRemappedDependencies)
{
    for (const auto& name : ruleTargets()) {
        Tree t = tree(name);
        ASSERT_TRUE(t) << name;
        ASSERT_NE(dynamic_cast<CompositeParamConverter*>(t.get()), nullptr) << name << " fell back to a plain copy";
        EXPECT_EQ(t->Name(), name);
        for (const auto& dependency : t->GetDependentParameters())
            EXPECT_NE(NameRemapTable::Lookup(dependency), nullptr) << name << " depends on " << dependency;
        EXPECT_TRUE(t->CanConvert()) << name;
    }
}

TEST_F(RuleTrees, EveryCatalogueNameGetsAConverterThatConverts)
{
    for (std::size_t i = 0; i < ParameterCatalog::Size; ++i) {
        const CatalogEntry& entry = ParameterCatalog::entries()[i];
        Tree t = tree(entry.name);
        ASSERT_TRUE(t) << entry.name;
        EXPECT_EQ(t->GetStart(), entry.channelMin) << entry.name;
        EXPECT_EQ(t->GetEnd(), entry.channelMax) << entry.name;
        EXPECT_EQ(t->SubIndexStart(), entry.subMin) << entry.name;
        // Every tree reads its remap row's source, or its own name.
        const char* mapped = NameRemapTable::Lookup(entry.name);
        EXPECT_EQ(t->GetSourceParameter()->GetName(), mapped ? mapped : entry.name) << entry.name;
        target.writes.clear();
        const bool written = t->Convert(entry.channelMax, entry.subMin);
        EXPECT_EQ(written, target.writes.size() == 1) << entry.name;
    }
}
