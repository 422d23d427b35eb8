#include "link/MemoryMirror.h"

#include "link/ReadCache.h"

#include <cstring>

namespace {

bool same(const QVariant& a, const QVariant& b)
{
    return a.isValid() && a.userType() == b.userType() && a == b;
}

} // namespace

MemoryMirror::Entry& MemoryMirror::find(const QString& address, int identityLength)
{
    // Looked up without copying the address; only a new entry keeps a copy.
    const auto it = m_index.constFind(QString::fromRawData(address.constData(), identityLength));
    if (it != m_index.constEnd())
        return **it;
    m_store.emplace_back();
    Entry* entry = &m_store.back();
    entry->key = address.left(identityLength);
    m_index.insert(entry->key, entry);
    return *entry;
}

MemoryMirror::Entry& MemoryMirror::findNext(const QString& address)
{
    const int length = ReadCache::valueIdentityLength(address);
    Entry* guess = m_last ? m_last->next : nullptr;
    if (guess && guess->key.size() == length
        && std::memcmp(guess->key.constData(), address.constData(), sizeof(QChar) * std::size_t(length)) == 0) {
        m_last = guess;
        return *guess;
    }
    Entry& entry = find(address, length);
    if (m_last)
        m_last->next = &entry;
    m_last = &entry;
    return entry;
}

bool MemoryMirror::decide(Entry& entry, const QVariant& value)
{
    if (entry.writtenIn == m_generation) {
        if (same(entry.written, value))
            return false;
    } else if (!entry.asked) {
        entry.asked = true;
        m_unlearned.append(entry.key);
    } else if (m_atDefaults && same(entry.byDefault, value)) {
        return false;
    }
    entry.written = value;
    entry.writtenIn = m_generation;
    return true;
}

bool MemoryMirror::needsWrite(const QString& address, const QVariant& value)
{
    return decide(findNext(address), value);
}

bool MemoryMirror::needsWrite(const QString& name, int channel, AddressMaker makeAddress, QString& address,
                              const QVariant& value)
{
    Entry* guess = m_last ? m_last->next : nullptr;
    Entry* entry = guess;
    if (guess && guess->channel == channel && guess->name.constData() == name.constData()) {
        m_last = guess;
    } else {
        address = makeAddress(name, channel);
        entry = &findNext(address);
        entry->name = name;
        entry->channel = channel;
    }
    if (!decide(*entry, value))
        return false;
    if (address.isNull())
        address = makeAddress(name, channel);
    return true;
}

void MemoryMirror::refused(const QString& address)
{
    Entry& entry = find(address, ReadCache::valueIdentityLength(address));
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
            find(addresses.at(i), ReadCache::valueIdentityLength(addresses.at(i))).byDefault = values.at(i);
    }
}
