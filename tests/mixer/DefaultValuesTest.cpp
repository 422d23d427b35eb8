#include "FakeMmsStore.h"

#include "params/DefaultValues.h"

#include <gtest/gtest.h>

namespace {

void expectText(const FakeMmsStore::Write& w, const QString& address)
{
    EXPECT_EQ(w.address, address);
    EXPECT_EQ(w.value.type(), OVariant::String) << qPrintable(address);
    EXPECT_STREQ(w.value.toString(), "") << qPrintable(address);
}

void expectZero(const FakeMmsStore::Write& w, const QString& address)
{
    EXPECT_EQ(w.address, address);
    EXPECT_EQ(w.value.type(), OVariant::Integer) << qPrintable(address);
    EXPECT_EQ(w.value.toInt(), 0) << qPrintable(address);
}

} // namespace

TEST(DefaultValues, FxSequenceRunsInFullWhenEveryWriteIsRefused)
{
    FakeMmsStore store;
    store.refuseWrites = true;
    DefaultValues(store).SetFxEffectDefaultValue();
    ASSERT_EQ(store.writes.size(), 16u * 70u + 2u * 120u);

    size_t i = 0;
    for (int r = 0; r < 16; ++r) {
        expectText(store.writes[i++], QStringLiteral("/FX/FX:%1/Param:0/PluginName:0").arg(r));
        expectText(store.writes[i++], QStringLiteral("/FX/FX:%1/Param:0/LibraryName:0").arg(r));
        expectZero(store.writes[i++], QStringLiteral("/FX/FX:%1/Param:0/SlotSize:0").arg(r));
        for (int v = 0; v < 64; ++v)
            expectZero(store.writes[i++], QStringLiteral("/FX/FX:%1/Param:0/Bank:0/Value:%2").arg(r).arg(v));
        expectZero(store.writes[i++], QStringLiteral("/Mixing/EffectRack:0/Slot:%1/InputPort:0/Patch:0/Source:0").arg(r));
        expectZero(store.writes[i++], QStringLiteral("/Mixing/EffectRack:0/Slot:%1/InputPort:1/Patch:0/Source:0").arg(r));
        expectZero(store.writes[i++], QStringLiteral("/Mixing/EffectRack:0/Slot:%1/OutputPort:0/Patch:0/Source:0").arg(r));
    }
    for (int c = 0; c < 120; ++c) {
        expectZero(store.writes[i++], QStringLiteral("/Mixing/InputChannel:%1/InPatch:0/Bank:0/Source:0").arg(c));
        expectZero(store.writes[i++], QStringLiteral("/Mixing/InputChannel:%1/InPatch:0/Bank:1/Source:0").arg(c));
    }
    EXPECT_TRUE(store.reads.isEmpty());
}

TEST(DefaultValues, GeqSequenceRunsInFullWhenEveryWriteIsRefused)
{
    FakeMmsStore store;
    store.refuseWrites = true;
    DefaultValues(store).SetGEQDefaultValue();
    ASSERT_EQ(store.writes.size(), 32u * 5u);
    size_t i = 0;
    for (int g = 0; g < 32; ++g) {
        expectZero(store.writes[i++], QStringLiteral("/Mixing/GEQRack2:%1/ItemNum:0").arg(g));
        expectZero(store.writes[i++], QStringLiteral("/Mixing/GEQRack2:%1/SlotSize:0").arg(g));
        expectText(store.writes[i++], QStringLiteral("/Mixing/GEQRack2:%1/Type:0").arg(g));
        expectZero(store.writes[i++], QStringLiteral("/Mixing/GEQRack2:%1/AB:0/On:0").arg(g));
        expectZero(store.writes[i++], QStringLiteral("/Mixing/GEQRack2:%1/AB:1/On:0").arg(g));
    }
}
