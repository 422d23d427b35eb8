#include "params/ChannelNames.h"

#include "host/IMixer.h"
#include "params/MmsAddress.h"
#include "params/MmsStore.h"
#include "params/ParameterCatalog.h"
#include "params/RackAccess.h"
#include "params/RackPlacement.h"

#include <QByteArray>
#include <QStringList>

namespace {

const ChannelNames::NameClass NameClasses[ChannelNames::ClassCount] = {
    {"/Mixing/InputChannel/Label:0/Name:0/MMS", "/Mixing/InputChannel/Label:0/Name:0/MMS"},
    {"/Mixing/Matrix/Label:0/Name:0/MMS", "/Mixing/Matrix/Label:0/Name:0/MMS"},
    {"/Mixing/Mix/Label:0/Name:0/MMS", "/Mixing/Mix/Label:0/Name:0/MMS"},
    {"/Mixing/Stereo/Label:0/Name:0/MMS", "/Mixing/Stereo/Label:0/Name:0/MMS"},
    {"/Mixing/DCA/Label:0/Name:0/MMS", "/Mixing/DCA/Label:0/Name:0/MMS"},
    {"/Mixing/Mute/Label:0/Name:0/MMS", "/Mixing/Mute/Label:0/Name:0/MMS"},
    {"/VelmarRack/VelmarRack2/PlugIn:0/LR:0/LibraryName:0/MMSFx", "/FX/FX/Param:0/LibraryName:0/MMS"},
    {"/VelmarRack/VelmarRack2/PlugIn:0/LR:0/LibraryName:0/MMS",
     "/VelmarRack/VelmarRack2/PlugIn:0/LR:0/LibraryName:0/MMS"},
    {"/VelmarRack/VelmarRack2/PlugIn:0/LR:1/LibraryName:0/MMS",
     "/VelmarRack/VelmarRack2/PlugIn:0/LR:1/LibraryName:0/MMS"},
};

const char FxLibraryName[] = "/FX/FX/Param:0/LibraryName:0/MMS";
const char VelmarLibraryNameL[] = "/VelmarRack/VelmarRack2/PlugIn:0/LR:0/LibraryName:0/MMS";
const char VelmarLibraryNameR[] = "/VelmarRack/VelmarRack2/PlugIn:0/LR:1/LibraryName:0/MMS";

} // namespace

const ChannelNames::NameClass* ChannelNames::classes()
{
    return NameClasses;
}

ChannelNames::ChannelNames(const MmsStore& store, const RackPlacement& placement, RackAccess* racks)
    : m_store(store)
    , m_placement(placement)
    , m_racks(racks)
{
}

void ChannelNames::GetMMSChName(const std::string& name, int channel, QString& text) const
{
    const QString qname = QString::fromStdString(name);
    QString address;
    if (name == FxLibraryName) {
        const bool unit = channel >= 0 && channel < RackPlacement::FxUnits;
        const int rack = unit ? m_placement.fxSlotStart[channel] : -1;
        if (rack < 0 || rack >= RackPlacement::FxRacks) {
            text.clear();
            return;
        }
        address = MmsAddress::ChannelAddress(qname, rack);
    } else if (name == VelmarLibraryNameL || name == VelmarLibraryNameR) {
        if (static_cast<unsigned>(channel) >= static_cast<unsigned>(RackPlacement::Plugins)) {
            text.clear();
            return;
        }
        if (m_racks) {
            m_racks->knowPluginPlacement();
            if (m_placement.velmarRackNo[channel] == -1) {
                text.clear();
                return;
            }
            address = MmsAddress::PluginSlotAddress(qname, m_placement.velmarRackNo[channel],
                                                    m_placement.velmarSlotStart[channel]);
        } else {
            address = MmsAddress::PluginSlotAddress(qname, channel / RackPlacement::SlotsPerRack,
                                                    channel % RackPlacement::SlotsPerRack);
        }
    } else {
        address = MmsAddress::ChannelAddress(qname, channel);
    }
    m_store.GetMMSStrValue(address, text);
}

void ChannelNames::SetMMSChName(const std::string& name, int channel, QString text) const
{
    const QString qname = QString::fromStdString(name);
    QString address;
    if (name.find("/FX/FX") != std::string::npos) {
        if (channel < 0 || channel >= RackPlacement::FxUnits)
            return;
        const unsigned rack = static_cast<unsigned>(m_placement.fxSlotStart[channel]);
        if (rack >= static_cast<unsigned>(RackPlacement::FxRacks))
            return;
        address = MmsAddress::ChannelAddress(qname, static_cast<int>(rack));
    } else if (name.find("/VelmarRack/VelmarRack2") != std::string::npos) {
        if (channel < 0 || channel >= RackPlacement::Plugins)
            return;
        const unsigned rack = static_cast<unsigned>(m_placement.velmarRackNo[channel]);
        const unsigned slot = static_cast<unsigned>(m_placement.velmarSlotStart[channel]);
        if (rack >= static_cast<unsigned>(RackPlacement::VelmarRacks)
            || slot >= static_cast<unsigned>(RackPlacement::SlotsPerRack))
            return;
        address = MmsAddress::PluginSlotAddress(qname, static_cast<int>(rack), static_cast<int>(slot));
    } else {
        address = MmsAddress::ChannelAddress(qname, channel);
    }
    m_store.SetMMSStrValue(address, text);
}

void ChannelNames::GetNameParameterList(int index, QStringList& list, IMixer& mixer) const
{
    if (index < 0 || index >= ClassCount)
        return;
    const std::string name = NameClasses[index].console;
    list.append(QString::fromStdString(name));
    if (ParameterCatalog::FindParameterId(name) < 0)
        return;
    int channelMin = 0;
    int channelMax = -1;
    int subMin = 0;
    int subMax = 0;
    mixer.LookupParameterRanges(name, channelMin, channelMax, subMin, subMax);
    for (int channel = channelMin; channel <= channelMax; ++channel) {
        QString text;
        GetMMSChName(name, channel, text);
        list.append(text);
    }
}

void ChannelNames::SetNameParameterList(const QStringList& list) const
{
    if (list.isEmpty())
        return;
    const QByteArray head = list.first().toUtf8();
    const NameClass* match = nullptr;
    for (const NameClass& nameClass : NameClasses) {
        if (head == nameClass.incoming) {
            match = &nameClass;
            break;
        }
    }
    if (!match)
        return;
    const std::string name = match->console;
    const CatalogEntry* entry = ParameterCatalog::find(name);
    const int channels = entry ? entry->channelMax + 1 : 0;
    for (int i = 1; i < list.size() && i - 1 < channels; ++i)
        SetMMSChName(name, i - 1, list.at(i));
}
