#pragma once

#include "support/OVariant.h"

#include <QHash>
#include <QString>
#include <QVector>

// Values the editor answered, kept on the host's thread so that repeated
// reads cost no round trip. A value is found by its exact address; it is
// dropped by a write to any spelling of the same console value (the catalogue
// endings "/MMS", "/MMS/<tag>", "/MMSGEQ", "/MMSDugan" and "/MMSFx" name the
// value without them), so no read answers a value older than the last write.
class ReadCache
{
public:
    bool find(const QString& address, OVariant& value) const;
    void store(const QString& address, const OVariant& value);
    // A write to `address` is on its way: forget what it may change.
    void invalidate(const QString& address);
    void clear();
    bool isEmpty() const { return m_entries.isEmpty(); }

    // The address without its catalogue ending.
    static QString valueIdentity(const QString& address);

private:
    struct Entry {
        QString address;
        OVariant value;
    };
    QHash<QString, QVector<Entry>> m_entries; // by value identity
};
