#include "link/ReadCache.h"

namespace {

bool isEnding(const QStringRef& element)
{
    return element == QLatin1String("MMS") || element == QLatin1String("MMSGEQ")
        || element == QLatin1String("MMSDugan") || element == QLatin1String("MMSFx");
}

} // namespace

QString ReadCache::valueIdentity(const QString& address)
{
    const int last = address.lastIndexOf(QLatin1Char('/'));
    if (last < 0)
        return address;
    if (isEnding(address.midRef(last + 1)))
        return address.left(last);
    // "/MMS/<tag>": the effect-type variants of one value.
    const int previous = last > 0 ? address.lastIndexOf(QLatin1Char('/'), last - 1) : -1;
    if (previous >= 0 && address.midRef(previous + 1, last - previous - 1) == QLatin1String("MMS"))
        return address.left(previous);
    return address;
}

bool ReadCache::find(const QString& address, OVariant& value) const
{
    if (m_entries.isEmpty())
        return false;
    const auto it = m_entries.constFind(valueIdentity(address));
    if (it == m_entries.constEnd())
        return false;
    for (const Entry& entry : *it) {
        if (entry.address == address) {
            value = entry.value;
            return true;
        }
    }
    return false;
}

void ReadCache::store(const QString& address, const OVariant& value)
{
    QVector<Entry>& entries = m_entries[valueIdentity(address)];
    for (Entry& entry : entries) {
        if (entry.address == address) {
            entry.value = value;
            return;
        }
    }
    entries.append(Entry{address, value});
}

void ReadCache::invalidate(const QString& address)
{
    if (!m_entries.isEmpty())
        m_entries.remove(valueIdentity(address));
}

void ReadCache::clear()
{
    m_entries.clear();
}
