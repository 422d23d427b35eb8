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

bool ReadCache::findBlock(const QString& key, int channel, OVariant& value) const
{
    if (m_blocks.isEmpty())
        return false;
    if (m_lastFound.key.isNull() || m_lastFound.key != key) {
        const auto it = m_blocks.constFind(valueIdentity(key));
        if (it == m_blocks.constEnd())
            return false;
        const auto spelling = std::find_if(it->cbegin(), it->cend(), [&](const Block& b) { return b.key == key; });
        if (spelling == it->cend())
            return false;
        m_lastFound = *spelling;
    }
    if (channel < 0 || channel >= m_lastFound.values.size())
        return false;
    value = m_lastFound.values.at(channel);
    return true;
}

void ReadCache::storeBlock(const QString& key, const QVector<OVariant>& values)
{
    m_lastFound = Block();
    QVector<Block>& spellings = m_blocks[valueIdentity(key)];
    for (Block& block : spellings) {
        if (block.key == key) {
            block.values = values;
            return;
        }
    }
    spellings.append(Block{key, values});
}

bool ReadCache::findSingle(const QString& address, OVariant& value) const
{
    if (m_singles.isEmpty())
        return false;
    const auto it = m_singles.constFind(valueIdentity(address));
    if (it == m_singles.constEnd())
        return false;
    for (const Single& single : *it) {
        if (single.address == address) {
            value = single.value;
            return true;
        }
    }
    return false;
}

void ReadCache::storeSingle(const QString& address, const OVariant& value)
{
    QVector<Single>& spellings = m_singles[valueIdentity(address)];
    for (Single& single : spellings) {
        if (single.address == address) {
            single.value = value;
            return;
        }
    }
    spellings.append(Single{address, value});
}

void ReadCache::invalidate(const QString& address, const QString& blockKey)
{
    if (!m_singles.isEmpty())
        m_singles.remove(valueIdentity(address));
    if (!m_blocks.isEmpty() && !blockKey.isEmpty()) {
        m_blocks.remove(valueIdentity(blockKey));
        m_lastFound = Block();
    }
}

void ReadCache::clear()
{
    m_blocks.clear();
    m_singles.clear();
    m_lastFound = Block();
}
