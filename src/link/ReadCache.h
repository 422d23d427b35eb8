#pragma once

#include "support/OVariant.h"

#include <QHash>
#include <QString>
#include <QVector>

// Values the editor answered, kept on the host's thread so that repeated
// reads cost no round trip: whole channel blocks by their block key (the
// address without its channel number) and single values by address.
//
// Entries are filed under the value's identity, the address without its
// catalogue ending ("/MMS", "/MMS/<tag>", "/MMSGEQ", "/MMSDugan", "/MMSFx"
// name the same value), so that a write to any spelling drops them all: no
// read answers a value older than the last write. Each spelling keeps the
// answer given to it.
class ReadCache
{
public:
    bool findBlock(const QString& key, int channel, OVariant& value) const;
    void storeBlock(const QString& key, const QVector<OVariant>& values);
    bool findSingle(const QString& address, OVariant& value) const;
    void storeSingle(const QString& address, const OVariant& value);

    // A write to `address` is on its way: forget its value, and the block
    // `blockKey` it belongs to (empty when it belongs to none).
    void invalidate(const QString& address, const QString& blockKey);
    void clear();

    // The address without its catalogue ending.
    static QString valueIdentity(const QString& address);
    // The length of that prefix of `address`.
    static int valueIdentityLength(const QString& address);

private:
    // One spelling's answer: a block's channel values, or a single value.
    template <typename Value>
    struct Spelling {
        QString key;
        Value value;
    };
    template <typename Value>
    using Table = QHash<QString, QVector<Spelling<Value>>>;   // by identity

    template <typename Value>
    static const Spelling<Value>* find(const Table<Value>& table, const QString& key);
    template <typename Value>
    static void store(Table<Value>& table, const QString& key, const Value& value);

    Table<QVector<OVariant>> m_blocks;
    Table<OVariant> m_singles;
    // The block found last: hosts read a parameter's channels one after the
    // other. Shares the cached values; every change of the cache drops it.
    mutable Spelling<QVector<OVariant>> m_lastFound;
};
