#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QVector>

// The order in which one pass over the console's memory first asked for each
// channel block or single value, kept from one memory change (recall, load,
// reset) to the next. A host that reads scene after scene in the same order
// (a comparison, a viewer) asks for the same things again; the batched read
// path then fetches the ones that followed in one command.
class ReadOrder
{
public:
    struct Unit {
        QString key;       // a block key, or the address of a single value
        int highest = -1;  // the block's highest channel; -1 for a single value
    };

    // Called for every read; the first one of each key in a pass is kept.
    void note(const QString& key, int highest);
    // The memory changed: the pass so far, followed by what only earlier
    // passes asked for, becomes the order to follow.
    void newPass();
    // Before any pass: `units` become the order to follow, as if a pass had
    // read them. Ignored once a pass was read.
    void suggest(const QVector<Unit>& units);
    // No pass was read and nothing suggested yet.
    bool isEmpty() const { return m_last.isEmpty() && m_pass.isEmpty(); }
    // The units that followed `key` in the last pass, `key` first, as many
    // as hold at most `limit` addresses (always `key`); empty when the last
    // pass did not ask for it.
    QVector<Unit> following(const QString& key, int limit) const;

    static int addresses(const Unit& unit) { return unit.highest < 0 ? 1 : unit.highest + 1; }

private:
    QVector<Unit> m_last;
    QHash<QString, int> m_lastIndex;
    QVector<Unit> m_pass;
    QSet<QString> m_seen;
    QString m_lastNoted;
};
