#include "link/MemoryMirror.h"

namespace {

bool same(const QVariant& a, const QVariant& b)
{
    return a.isValid() && a.userType() == b.userType() && a == b;
}

} // namespace

bool MemoryMirror::needsWrite(const QString& address, const QVariant& value)
{
    Entry& entry = m_entries[address];
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
    const auto it = m_entries.find(address);
    if (it == m_entries.end())
        return;
    it->written = QVariant();
    it->writtenIn = m_generation;
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
            m_entries[addresses.at(i)].byDefault = values.at(i);
    }
}
