#include "params/ValueAccess.h"

#include "host/IParameter.h"
#include "params/Journal.h"
#include "params/MmsAddress.h"
#include "params/MmsStore.h"
#include "params/RackAccess.h"
#include "params/ValueNameTables.h"
#include "support/OVariant.h"

#include <QLoggingCategory>
#include <QString>
#include <QVariant>
#include <QtDebug>
#include <cstring>
#include <string>
#include <unordered_map>

namespace {

bool contains(const std::string& name, const char* part)
{
    return name.find(part) != std::string::npos;
}

// The rack trace is formatted only for a listener.
bool debugEnabled()
{
    return QLoggingCategory::defaultCategory()->isDebugEnabled();
}

// One Qt copy of each name, so that the link can recognise a name by its
// text's address. The host converts parameter by parameter, channel after
// channel: the last name is looked up first.
const QString& qtName(const std::string& name)
{
    thread_local std::unordered_map<std::string, QString> names;
    thread_local const std::pair<const std::string, QString>* last = nullptr;
    if (!last || last->first != name)
        last = &*names.try_emplace(name, QString::fromStdString(name)).first;
    return last->second;
}

// The three names of a GEQ rack's type share one console address.
const char GeqRackType[] = "/Mixing/GEQRack2/Type:0/MMS";
const char AutomixerRackType[] = "/Mixing/GEQRack2/Type:0/MMSDugan";

} // namespace

// Every catalogue name of the racks starts with its family.
bool ValueAccess::isRackName(const std::string& name)
{
    return name.compare(0, 6, "/FX/FX") == 0 || name.compare(0, 23, "/VelmarRack/VelmarRack2") == 0;
}

ValueAccess::AddressMaker ValueAccess::readAddressMaker(const std::string& name)
{
    return contains(name, "DuganAutomixer") ? &MmsAddress::DuganAddress : &MmsAddress::ChannelAddress;
}

ValueAccess::ValueAccess(const MmsStore& store, RackAccess& racks, bool* automixerHeld)
    : m_store(store)
    , m_racks(racks)
    , m_automixerHeld(automixerHeld)
{
}

int ValueAccess::GetValue(IParameter* parameter, int channel, int subIndex)
{
    if (!parameter)
        return 0;
    const std::string& name = parameter->GetName();
    if (isRackName(name)) {
        if (debugEnabled())
            qDebug().noquote() << " !!!!!!   " << QString::fromStdString(name) << channel;
        return m_racks.GetValueVelmarRack(parameter, channel, subIndex);
    }

    const QString address = readAddressMaker(name)(qtName(name), channel);
    OVariant value;
    m_store.GetMMSValue(address, value);
    if (!value.isValid())
        return 0;
    if (value.type() == OVariant::String)
        return ValueNameTables::FindValueByName(name, std::string(value.toString()));
    return value.toInt();
}

void ValueAccess::SetValue(IParameter* parameter, int channel, int value, int subIndex)
{
    if (!parameter)
        return;
    const std::string& name = parameter->GetName();
    const char* text = ValueNameTables::FindValueName(name, value);
    if (isRackName(name)) {
        m_racks.SetValueVelmarRack(parameter, channel, value, subIndex);
        if (debugEnabled())
            qDebug().noquote() << " !!!!!!   " << QString::fromStdString(name) << channel << ", " << value;
        return;
    }

    const QString& qname = qtName(name);
    const bool dugan = contains(name, "/Mixing/DuganAutomixer/");
    if (m_automixerHeld && channel == 0 && name.compare(0, sizeof GeqRackType - 1, GeqRackType) == 0) {
        if (name == AutomixerRackType) {
            *m_automixerHeld = text && std::strncmp(text, "Automixer", 9) == 0;
        } else if (*m_automixerHeld) {
            Journal::refused(MmsAddress::ChannelAddress(qname, channel),
                             text ? QVariant(QString::fromUtf8(text)) : QVariant(value),
                             QStringLiteral("GEQ rack 0 holds the automixer"));
            return;
        }
    }
    if (text)
        m_store.SetMMSChannelValue(qname, channel, dugan, OVariant(text, OVariant::MaxStringSize - 1));
    else
        m_store.SetMMSChannelValue(qname, channel, dugan, OVariant(value));
}
