#include "DefaultMemory.h"

#include "ConsoleValue.h"
#include "params/MmsAddress.h"
#include "params/ParameterCatalog.h"
#include "params/ValueNameTables.h"

#include <cstring>

namespace {

const char kVelmarPrefix[] = "/VelmarRack/VelmarRack2/PlugIn:0/";
const char kTagMarker[] = "/MMS/";

constexpr int kVelmarRacks = 4;
constexpr int kVelmarSlots = 16;
constexpr int kFxRacks = 16;
constexpr int kFxValues = 64;
constexpr int kInputChannels = 120;
constexpr int kGeqRacks = 32;

QString leafOf(const QString& plain)
{
    QString leaf = plain.mid(plain.lastIndexOf(QLatin1Char('/')) + 1);
    const int colon = leaf.indexOf(QLatin1Char(':'));
    if (colon >= 0)
        leaf.truncate(colon);
    return leaf;
}

const ValueNameBinding* findBinding(const char* name)
{
    const ValueNameBinding* rows = ValueNameTables::bindings();
    for (std::size_t i = 0; i < ValueNameTables::BindingCount; ++i) {
        if (std::strcmp(rows[i].name, name) == 0)
            return &rows[i];
    }
    return nullptr;
}

// Text of value 0 in a table, empty when the table has none.
QString valueZeroText(int tableNumber)
{
    const ValueNameEntry* table = ValueNameTables::table(tableNumber);
    if (!table)
        return QString();
    for (int i = 0; i < ValueNameTables::SlotsPerTable; ++i) {
        if (std::strcmp(table[i].text, ValueNameTables::Terminator) == 0)
            break;
        if (table[i].value == 0)
            return QString::fromUtf8(table[i].text);
    }
    return QString();
}

} // namespace

DefaultMemory::DefaultMemory()
{
    defaultTexts_.append(QString());
    slots_.reserve(110000);
    addCatalogue();
    addDirectAddresses();
}

const DefaultMemory& DefaultMemory::instance()
{
    static const DefaultMemory memory;
    return memory;
}

bool DefaultMemory::isTextParameter(const char* catalogName, const QString& plainName,
                                    QString* defaultText)
{
    const QString leaf = leafOf(plainName);
    // Effect and plug-in types default to "no unit", which is the empty text
    // rather than the table's value 0.
    const bool unitType = leaf == QLatin1String("PluginName");
    if (const ValueNameBinding* binding = findBinding(catalogName)) {
        *defaultText = unitType ? QString() : valueZeroText(binding->table);
        return true;
    }
    if (unitType || leaf == QLatin1String("Name") || leaf == QLatin1String("LibraryName")
        || leaf == QLatin1String("SongFilePath") || leaf.endsWith(QLatin1String("Type"))) {
        *defaultText = QString();
        return true;
    }
    return false;
}

QString DefaultMemory::normalise(const QString& address) const
{
    const int last = address.lastIndexOf(QLatin1Char('/'));
    if (last < 0)
        return address;
    const QStringRef leaf = address.midRef(last + 1);
    if (leaf == QLatin1String("MMS") || leaf == QLatin1String("MMSGEQ")
        || leaf == QLatin1String("MMSDugan") || leaf == QLatin1String("MMSFx"))
        return address.left(last);
    if (last > 0) {
        const int prev = address.lastIndexOf(QLatin1Char('/'), last - 1);
        if (prev >= 0 && address.midRef(prev + 1, last - prev - 1) == QLatin1String("MMS")
            && tags_.contains(leaf.toString()))
            return address.left(prev);
    }
    return address;
}

bool DefaultMemory::lookup(const QString& key, ConsoleValue* defaultValue) const
{
    const auto it = slots_.constFind(key);
    if (it == slots_.constEnd())
        return false;
    if (defaultValue) {
        *defaultValue = it->text ? ConsoleValue::text(defaultTexts_.at(it->textIndex))
                                 : ConsoleValue::integer(ConsoleValue::Int32, 0);
    }
    return true;
}

void DefaultMemory::add(const QString& key, bool text, const QString& defaultText)
{
    Slot slot{quint8(text ? 1 : 0), 0};
    if (text) {
        int index = defaultTexts_.indexOf(defaultText);
        if (index < 0) {
            index = defaultTexts_.size();
            defaultTexts_.append(defaultText);
        }
        slot.textIndex = quint16(index);
    }
    const auto it = slots_.constFind(key);
    if (it != slots_.constEnd()) {
        if (it->text != slot.text || it->textIndex != slot.textIndex)
            ++conflicts_;
        return;
    }
    slots_.insert(key, slot);
}

void DefaultMemory::addCatalogue()
{
    const CatalogEntry* rows = ParameterCatalog::entries();
    // Tags first: normalise() needs them for every name below.
    for (std::size_t i = 0; i < ParameterCatalog::Size; ++i) {
        const char* marker = std::strstr(rows[i].name, kTagMarker);
        if (marker)
            tags_.insert(QString::fromUtf8(marker + std::strlen(kTagMarker)));
    }
    for (std::size_t i = 0; i < ParameterCatalog::Size; ++i) {
        const CatalogEntry& row = rows[i];
        const QString name = QString::fromUtf8(row.name);
        const QString plain = normalise(name);
        QString defaultText;
        const bool text = isTextParameter(row.name, plain, &defaultText);
        if (name.startsWith(QLatin1String(kVelmarPrefix))) {
            for (int rack = 0; rack < kVelmarRacks; ++rack) {
                for (int slot = 0; slot < kVelmarSlots; ++slot)
                    add(MmsAddress::PluginSlotAddress(plain, rack, slot), text, defaultText);
            }
        } else if (name.contains(QLatin1String("DuganAutomixer"))) {
            for (int ch = row.channelMin; ch <= row.channelMax; ++ch)
                add(MmsAddress::DuganAddress(plain, ch), text, defaultText);
        } else {
            for (int ch = row.channelMin; ch <= row.channelMax; ++ch)
                add(MmsAddress::ChannelAddress(plain, ch), text, defaultText);
        }
    }
}

void DefaultMemory::addDirectAddresses()
{
    const QString none;
    add(QStringLiteral("/Setup/RackAllocation:0/RecallSafe:0/On:0"), false, none);
    for (int r = 0; r < kFxRacks; ++r) {
        const QString fx = QStringLiteral("/FX/FX:%1/Param:0/").arg(r);
        add(fx + QLatin1String("PluginName:0"), true, none);
        add(fx + QLatin1String("LibraryName:0"), true, none);
        add(fx + QLatin1String("SlotSize:0"), false, none);
        for (int v = 0; v < kFxValues; ++v)
            add(fx + QStringLiteral("Bank:0/Value:%1").arg(v), false, none);
        const QString slot = QStringLiteral("/Mixing/EffectRack:0/Slot:%1/").arg(r);
        add(slot + QLatin1String("InputPort:0/Patch:0/Source:0"), false, none);
        add(slot + QLatin1String("InputPort:1/Patch:0/Source:0"), false, none);
        add(slot + QLatin1String("OutputPort:0/Patch:0/Source:0"), false, none);
    }
    for (int c = 0; c < kInputChannels; ++c) {
        const QString in = QStringLiteral("/Mixing/InputChannel:%1/InPatch:0/").arg(c);
        add(in + QLatin1String("Bank:0/Source:0"), false, none);
        add(in + QLatin1String("Bank:1/Source:0"), false, none);
    }
    for (int g = 0; g < kGeqRacks; ++g) {
        const QString geq = QStringLiteral("/Mixing/GEQRack2:%1/").arg(g);
        add(geq + QLatin1String("ItemNum:0"), false, none);
        add(geq + QLatin1String("SlotSize:0"), false, none);
        add(geq + QLatin1String("Type:0"), true, none);
        add(geq + QLatin1String("AB:0/On:0"), false, none);
        add(geq + QLatin1String("AB:1/On:0"), false, none);
    }
}
