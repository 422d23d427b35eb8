#pragma once

#include "ConsoleValue.h"

#include <QHash>
#include <QString>

class DefaultMemory;
class QJsonValue;

// The console's current memory: the defaults of DefaultMemory overlaid with
// the values that differ from them. Only differing values are kept, so a
// snapshot (a scene, a file) is as small as the changes it carries and
// copying one is cheap (implicitly shared).
class ConsoleMemory {
public:
    // Normalised address -> value different from its default.
    using Changes = QHash<QString, ConsoleValue>;

    explicit ConsoleMemory(const DefaultMemory& defaults);
    ConsoleMemory();

    const DefaultMemory& defaults() const { return *defaults_; }

    // The normalised key of a known address; false for an address outside
    // the memory.
    bool resolve(const QString& address, QString* key) const;
    bool read(const QString& address, ConsoleValue* value) const;
    // read() of an address normalised already.
    bool readKey(const QString& key, ConsoleValue* value) const;

    // One write that prepare() accepted.
    struct Write {
        QString key;
        ConsoleValue value;
        bool isDefault = false;   // equal to the address's default value
    };

    // Checks one write without applying it: the address must be known and
    // the value must fit its type (see ConsoleValue::fromJson).
    bool prepare(const QString& address, const QJsonValue& value, bool numericStrings, Write* write,
                 QString* error) const;
    void apply(const Write& write);
    // prepare() + apply().
    bool write(const QString& address, const QJsonValue& value, bool numericStrings,
               QString* error);

    // Back to the defaults.
    void reset() { changes_.clear(); }

    const Changes& changes() const { return changes_; }
    // Replaces the whole memory with a snapshot taken by changes() or built
    // from prepare()d values.
    void setChanges(const Changes& changes);

private:
    const DefaultMemory* defaults_;
    Changes changes_;
};
