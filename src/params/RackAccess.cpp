#include "params/RackAccess.h"

#include "host/IParameter.h"
#include "params/MmsAddress.h"
#include "params/MmsStore.h"
#include "params/Journal.h"
#include "params/RackPlacement.h"
#include "params/ValueNameTables.h"
#include "support/OVariant.h"

#include <QStringList>
#include <QVector>

#include <string>

namespace {

const char PluginFamily[] = "/VelmarRack/VelmarRack2/PlugIn";
const char FxFamily[] = "/FX/FX";
const char FxTypeName[] = "/FX/FX/Param:0/PluginName:0";
const char PluginTypeName[] = "/VelmarRack/VelmarRack2/PlugIn:0/PluginName";

bool contains(const std::string& name, const char* part)
{
    return name.find(part) != std::string::npos;
}

bool isFxUnit(int channel)
{
    return channel >= 0 && channel < RackPlacement::FxUnits;
}

bool isPlugin(int channel)
{
    return channel >= 0 && channel < RackPlacement::Plugins;
}

} // namespace

RackAccess::RackAccess(const MmsStore& store, RackPlacement& placement, bool& fxSlotsRead, bool& velmarSlotsRead,
                       WireMode mode)
    : m_store(store)
    , m_placement(placement)
    , m_fxSlotsRead(fxSlotsRead)
    , m_velmarSlotsRead(velmarSlotsRead)
    , m_strict(mode == WireMode::Strict)
{
}

QString RackAccess::GetAddressNamePlugin(const QString& name, int rack, int slot)
{
    return MmsAddress::PluginSlotAddress(name, rack, slot);
}

int RackAccess::getEffRackNo(bool velmar)
{
    if (velmar) {
        if (!m_strict)
            rebuildPlugins();
        return 0;
    }
    int unit = 0;
    for (int rack = 0; rack < RackPlacement::FxRacks && unit < RackPlacement::FxUnits; ++rack) {
        OVariant type;
        m_store.GetMMSValue(QStringLiteral("/FX/FX:%1/Param:0/PluginName:0").arg(rack), type);
        // A rack whose type cannot be read as text counts as empty.
        if (type.type() != OVariant::String)
            continue;
        const int slots = RackPlacement::fxSlotCount(std::string(type.toString()));
        if (slots > 0) {
            m_placement.fxSlotStart[unit] = rack;
            m_placement.fxSlotSize[unit] = slots;
            ++unit;
        }
    }
    for (; unit < RackPlacement::FxUnits; ++unit) {
        m_placement.fxSlotStart[unit] = -1;
        m_placement.fxSlotSize[unit] = 0;
    }
    return 0;
}

void RackAccess::rebuildPlugins()
{
    const QString typeName = QString::fromLatin1(PluginTypeName) + QStringLiteral("/MMS");
    QStringList addresses;
    addresses.reserve(RackPlacement::Plugins);
    for (int rack = 0; rack < RackPlacement::VelmarRacks; ++rack) {
        for (int slot = 0; slot < RackPlacement::SlotsPerRack; ++slot)
            addresses.append(GetAddressNamePlugin(typeName, rack, slot));
    }
    QVector<OVariant> types;
    m_store.GetMMSValues(addresses, types);

    m_placement.clearVelmar();
    int plugin = 0;
    for (int rack = 0; rack < RackPlacement::VelmarRacks; ++rack) {
        int slot = 0;
        while (slot < RackPlacement::SlotsPerRack && plugin < RackPlacement::Plugins) {
            const OVariant& type = types.value(rack * RackPlacement::SlotsPerRack + slot);
            // A slot whose type is not text counts as empty.
            const int size = type.type() == OVariant::String
                                 ? RackPlacement::velmarSlotCount(std::string(type.toString()))
                                 : 0;
            if (size == 0) {
                ++slot;
                continue;
            }
            m_placement.velmarRackNo[plugin] = rack;
            m_placement.velmarSlotStart[plugin] = slot;
            m_placement.velmarSlotSize[plugin] = size;
            ++plugin;
            slot += size;
        }
    }
}

void RackAccess::place(int channel, int size, bool velmar)
{
    if (m_strict)
        m_placement.setEffRackNo(static_cast<unsigned>(channel), static_cast<unsigned>(size), velmar);
    else
        m_placement.placeAfterPlaced(static_cast<unsigned>(channel), static_cast<unsigned>(size), velmar);
}

void RackAccess::knowPluginPlacement()
{
    if (m_strict || m_velmarSlotsRead)
        return;
    rebuildPlugins();
    m_velmarSlotsRead = true;
}

QString RackAccess::pluginReadAddress(const QString& name, int channel)
{
    if (m_strict)
        return GetAddressNamePlugin(name, channel / RackPlacement::SlotsPerRack,
                                    channel % RackPlacement::SlotsPerRack);
    knowPluginPlacement();
    if (m_placement.velmarRackNo[channel] == -1)
        return QString();
    return GetAddressNamePlugin(name, m_placement.velmarRackNo[channel], m_placement.velmarSlotStart[channel]);
}

int RackAccess::GetValueVelmarRack(IParameter* parameter, int channel, int /*subIndex*/)
{
    if (!parameter)
        return 0;
    const std::string& name = parameter->GetName();
    const QString qname = QString::fromStdString(name);
    QString address;
    if (contains(name, PluginFamily)) {
        if (!isPlugin(channel))
            return 0;
        address = pluginReadAddress(qname, channel);
        if (address.isEmpty())
            return contains(name, PluginTypeName) ? EmptyPluginType : 0;
    } else if (contains(name, FxFamily)) {
        if (!m_fxSlotsRead) {
            getEffRackNo(false);
            m_fxSlotsRead = true;
        }
        if (!isFxUnit(channel) || m_placement.fxSlotStart[channel] == -1)
            return m_strict || contains(name, FxTypeName) ? EmptyFxType : 0;
        address = MmsAddress::ChannelAddress(qname, m_placement.fxSlotStart[channel]);
    } else {
        return 0;
    }

    OVariant value;
    m_store.GetMMSValue(address, value);
    if (!value.isValid())
        return 0;
    if (value.type() == OVariant::String)
        return ValueNameTables::FindValueByName(name, std::string(value.toString()));
    return value.toInt();
}

void RackAccess::SetValueVelmarRack(IParameter* parameter, int channel, int value, int /*subIndex*/)
{
    if (!parameter)
        return;
    const std::string& name = parameter->GetName();
    const bool plugin = contains(name, PluginFamily);
    if (!plugin && !contains(name, FxFamily))
        return;
    // Units outside the host's ranges have no place in the tables.
    if (plugin ? !isPlugin(channel) : !isFxUnit(channel))
        return;

    const char* text = ValueNameTables::FindValueName(name, value);

    if (contains(name, FxTypeName)) {
        if (!m_fxSlotsRead) {
            m_placement.clearFx();
            m_fxSlotsRead = true;
        }
        const int size = RackPlacement::fxSlotCount(value);
        place(channel, size, false);
        if (m_placement.fxSlotStart[channel] >= 0)
            Journal::placed(false, channel, value, text, size, m_placement.fxSlotStart[channel], 0);
        else
            Journal::unplaced(false, channel, value, text, size);
    } else if (contains(name, PluginTypeName)) {
        if (!m_velmarSlotsRead) {
            m_placement.clearVelmar();
            m_velmarSlotsRead = true;
        }
        const int size = RackPlacement::velmarSlotCount(value);
        place(channel, size, true);
        if (m_placement.velmarRackNo[channel] >= 0)
            Journal::placed(true, channel, value, text, size, m_placement.velmarRackNo[channel],
                            m_placement.velmarSlotStart[channel]);
        else
            Journal::unplaced(true, channel, value, text, size);
    } else if (contains(name, "SlotSize")) {
        value = plugin ? m_placement.velmarSlotSize[channel] : m_placement.fxSlotSize[channel];
    }

    if ((plugin ? m_placement.velmarRackNo[channel] : m_placement.fxSlotStart[channel]) == -1) {
        if (m_placement.firstDrop(static_cast<unsigned>(channel), plugin))
            Journal::dropped(plugin, channel, name);
        return;
    }
    const QString qname = QString::fromStdString(name);
    const QString address = plugin ? GetAddressNamePlugin(qname, m_placement.velmarRackNo[channel],
                                                          m_placement.velmarSlotStart[channel])
                                   : MmsAddress::ChannelAddress(qname, m_placement.fxSlotStart[channel]);

    if (text) {
        const OVariant textValue(text, OVariant::MaxStringSize - 1);
        m_store.SetMMSValue(address, textValue);
    } else {
        m_store.SetMMSValue(address, OVariant(value));
    }
}
