#include "link/ReadCache.h"

#include <algorithm>

namespace {

bool isEnding(const QStringRef& element)
{
    return element == QLatin1String("MMS") || element == QLatin1String("MMSGEQ")
        || element == QLatin1String("MMSDugan") || element == QLatin1String("MMSFx");
}

} // namespace

QString ReadCache::valueIdentity(const QString& address)
{
    return address.left(valueIdentityLength(address));
}

int ReadCache::valueIdentityLength(const QString& address)
{
    const int last = address.lastIndexOf(QLatin1Char('/'));
    if (last < 0)
        return address.size();
    if (isEnding(address.midRef(last + 1)))
        return last;
    // "/MMS/<tag>": the effect-type variants of one value.
    const int previous = last > 0 ? address.lastIndexOf(QLatin1Char('/'), last - 1) : -1;
    if (previous >= 0 && address.midRef(previous + 1, last - previous - 1) == QLatin1String("MMS"))
        return previous;
    return address.size();
}

template <typename Value>
const ReadCache::Spelling<Value>* ReadCache::find(const Table<Value>& table, const QString& key)
{
    const auto it = table.constFind(valueIdentity(key));
    if (it == table.constEnd())
        return nullptr;
    const auto spelling = std::find_if(it->cbegin(), it->cend(), [&](const Spelling<Value>& s) { return s.key == key; });
    return spelling == it->cend() ? nullptr : &*spelling;
}

template <typename Value>
void ReadCache::store(Table<Value>& table, const QString& key, const Value& value)
{
    QVector<Spelling<Value>>& spellings = table[valueIdentity(key)];
    for (Spelling<Value>& spelling : spellings) {
        if (spelling.key == key) {
            spelling.value = value;
            return;
        }
    }
    spellings.append(Spelling<Value>{key, value});
}

bool ReadCache::findBlock(const QString& key, int channel, OVariant& value) const
{
    if (m_blocks.isEmpty())
        return false;
    if (m_lastFound.key.isNull() || m_lastFound.key != key) {
        const Spelling<QVector<OVariant>>* block = find(m_blocks, key);
        if (!block)
            return false;
        m_lastFound = *block;
    }
    if (channel < 0 || channel >= m_lastFound.value.size())
        return false;
    value = m_lastFound.value.at(channel);
    return true;
}

void ReadCache::storeBlock(const QString& key, const QVector<OVariant>& values)
{
    m_lastFound = {};
    store(m_blocks, key, values);
}

bool ReadCache::findSingle(const QString& address, OVariant& value) const
{
    const Spelling<OVariant>* single = m_singles.isEmpty() ? nullptr : find(m_singles, address);
    if (single)
        value = single->value;
    return single != nullptr;
}

void ReadCache::storeSingle(const QString& address, const OVariant& value)
{
    store(m_singles, address, value);
}

void ReadCache::invalidate(const QString& address, const QString& blockKey)
{
    if (!m_singles.isEmpty())
        m_singles.remove(valueIdentity(address));
    if (!m_blocks.isEmpty() && !blockKey.isEmpty()) {
        m_blocks.remove(valueIdentity(blockKey));
        m_lastFound = {};
    }
}

void ReadCache::clear()
{
    m_blocks.clear();
    m_singles.clear();
    m_lastFound = {};
}
