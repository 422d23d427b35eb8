#include "link/ReadOrder.h"

void ReadOrder::note(const QString& key, int highest)
{
    // Every channel of a block notes its key, one after the other.
    if (!m_lastNoted.isNull() && key == m_lastNoted)
        return;
    m_lastNoted = key;
    if (m_seen.contains(key))
        return;
    m_seen.insert(key);
    m_pass.append(Unit{key, highest});
}

void ReadOrder::newPass()
{
    // The new pass first, then what only earlier passes asked for: a short
    // pass (a scene list read after a load) must not make the host's long
    // one forgotten.
    m_lastNoted.clear();
    if (m_pass.isEmpty())
        return;
    for (const Unit& unit : qAsConst(m_last)) {
        if (!m_seen.contains(unit.key))
            m_pass.append(unit);
    }
    m_last.swap(m_pass);
    m_lastIndex.clear();
    for (int i = 0; i < m_last.size(); ++i)
        m_lastIndex.insert(m_last.at(i).key, i);
    m_pass.clear();
    m_seen.clear();
}

void ReadOrder::suggest(const QVector<Unit>& units)
{
    if (!isEmpty())
        return;
    m_last = units;
    for (int i = 0; i < m_last.size(); ++i)
        m_lastIndex.insert(m_last.at(i).key, i);
}

QVector<ReadOrder::Unit> ReadOrder::following(const QString& key, int limit) const
{
    QVector<Unit> units;
    const auto it = m_lastIndex.constFind(key);
    if (it == m_lastIndex.constEnd())
        return units;
    int total = 0;
    for (int i = *it; i < m_last.size(); ++i) {
        total += addresses(m_last.at(i));
        if (!units.isEmpty() && total > limit)
            break;
        units.append(m_last.at(i));
    }
    return units;
}
