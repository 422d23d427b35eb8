#include "params/DefaultValues.h"

#include "params/MmsStore.h"
#include "support/OVariant.h"

#include <QString>

DefaultValues::DefaultValues(const MmsStore& store)
    : m_store(store)
{
}

void DefaultValues::SetFxEffectDefaultValue()
{
    const OVariant emptyText("", 0);
    const OVariant zero(0);
    for (int rack = 0; rack < FxRacks; ++rack) {
        m_store.SetMMSValue(QStringLiteral("/FX/FX:%1/Param:0/PluginName:0").arg(rack), emptyText);
        m_store.SetMMSValue(QStringLiteral("/FX/FX:%1/Param:0/LibraryName:0").arg(rack), emptyText);
        m_store.SetMMSValue(QStringLiteral("/FX/FX:%1/Param:0/SlotSize:0").arg(rack), zero);
        for (int v = 0; v < FxValues; ++v)
            m_store.SetMMSValue(QStringLiteral("/FX/FX:%1/Param:0/Bank:0/Value:%2").arg(rack).arg(v), zero);
        m_store.SetMMSValue(QStringLiteral("/Mixing/EffectRack:0/Slot:%1/InputPort:0/Patch:0/Source:0").arg(rack), zero);
        m_store.SetMMSValue(QStringLiteral("/Mixing/EffectRack:0/Slot:%1/InputPort:1/Patch:0/Source:0").arg(rack), zero);
        m_store.SetMMSValue(QStringLiteral("/Mixing/EffectRack:0/Slot:%1/OutputPort:0/Patch:0/Source:0").arg(rack), zero);
    }
    for (int channel = 0; channel < InputChannels; ++channel) {
        m_store.SetMMSValue(QStringLiteral("/Mixing/InputChannel:%1/InPatch:0/Bank:0/Source:0").arg(channel), zero);
        m_store.SetMMSValue(QStringLiteral("/Mixing/InputChannel:%1/InPatch:0/Bank:1/Source:0").arg(channel), zero);
    }
}

void DefaultValues::SetGEQDefaultValue()
{
    const OVariant emptyText("", 0);
    const OVariant zero(0);
    for (int rack = 0; rack < GeqRacks; ++rack) {
        m_store.SetMMSValue(QStringLiteral("/Mixing/GEQRack2:%1/ItemNum:0").arg(rack), zero);
        m_store.SetMMSValue(QStringLiteral("/Mixing/GEQRack2:%1/SlotSize:0").arg(rack), zero);
        m_store.SetMMSValue(QStringLiteral("/Mixing/GEQRack2:%1/Type:0").arg(rack), emptyText);
        m_store.SetMMSValue(QStringLiteral("/Mixing/GEQRack2:%1/AB:0/On:0").arg(rack), zero);
        m_store.SetMMSValue(QStringLiteral("/Mixing/GEQRack2:%1/AB:1/On:0").arg(rack), zero);
    }
}
