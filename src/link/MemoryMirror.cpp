#include "link/MemoryMirror.h"

#include "link/ReadCache.h"

namespace {

bool same(const QVariant& a, const QVariant& b)
{
    return a.isValid() && a.userType() == b.userType() && a == b;
}

} // namespace

MemoryMirror::Entry& MemoryMirror::entryOf(const QString& address)
{
    // Looked up without copying the address; only a new entry keeps a copy.
    const int length = ReadCache::valueIdentityLength(address);
    const auto it = m_entries.find(QString::fromRawData(address.constData(), length));
    if (it != m_entries.end())
        return *it;
    return m_entries[address.left(length)];
}

bool MemoryMirror::needsWrite(const QString& address, const QVariant& value)
{
    Entry& entry = entryOf(address);
    if (entry.writtenIn == m_generation) {
        if (same(entry.written, value))
            return false;
    } else if (!entry.asked) {
        entry.asked = true;
        m_unlearned.append(address);
    } else if (m_atDefaults && same(entry.byDefault, value)) {
        return false;
    }
    entry.written = value;
    entry.writtenIn = m_generation;
    return true;
}

void MemoryMirror::refused(const QString& address)
{
    Entry& entry = entryOf(address);
    entry.written = QVariant();
    entry.writtenIn = m_generation;
}

void MemoryMirror::reset()
{
    ++m_generation;
    m_atDefaults = true;
}

void MemoryMirror::forget()
{
    ++m_generation;
    m_atDefaults = false;
}

QStringList MemoryMirror::takeUnlearned()
{
    QStringList taken;
    taken.swap(m_unlearned);
    return taken;
}

void MemoryMirror::learn(const QStringList& addresses, const QVector<QVariant>& values)
{
    for (int i = 0; i < addresses.size() && i < values.size(); ++i) {
        if (values.at(i).isValid())
            entryOf(addresses.at(i)).byDefault = values.at(i);
    }
}
