#include "ConsoleMemory.h"

#include "DefaultMemory.h"

#include <QJsonValue>

ConsoleMemory::ConsoleMemory(const DefaultMemory& defaults)
    : defaults_(&defaults)
{
}

ConsoleMemory::ConsoleMemory()
    : ConsoleMemory(DefaultMemory::instance())
{
}

bool ConsoleMemory::resolve(const QString& address, QString* key) const
{
    const QString k = defaults_->normalise(address);
    if (!defaults_->lookup(k, nullptr))
        return false;
    *key = k;
    return true;
}

bool ConsoleMemory::read(const QString& address, ConsoleValue* value) const
{
    return readKey(defaults_->normalise(address), value);
}

bool ConsoleMemory::readKey(const QString& key, ConsoleValue* value) const
{
    const auto it = changes_.constFind(key);
    if (it != changes_.constEnd()) {
        *value = *it;
        return true;
    }
    return defaults_->lookup(key, value);
}

bool ConsoleMemory::prepare(const QString& address, const QJsonValue& value, bool numericStrings,
                            Write* write, QString* error) const
{
    write->key = defaults_->normalise(address);
    ConsoleValue def;
    if (!defaults_->lookup(write->key, &def)) {
        *error = QStringLiteral("unknown address %1").arg(address);
        return false;
    }
    QString why;
    if (!ConsoleValue::fromJson(def.type(), value, numericStrings, &write->value, &why)) {
        *error = QStringLiteral("%1: %2").arg(address, why);
        return false;
    }
    write->isDefault = write->value == def;
    return true;
}

void ConsoleMemory::apply(const Write& write)
{
    if (write.isDefault)
        changes_.remove(write.key);
    else
        changes_.insert(write.key, write.value);
}

bool ConsoleMemory::write(const QString& address, const QJsonValue& value, bool numericStrings,
                          QString* error)
{
    Write w;
    if (!prepare(address, value, numericStrings, &w, error))
        return false;
    apply(w);
    return true;
}

void ConsoleMemory::setChanges(const Changes& changes)
{
    // Keeps sharing the snapshot's data unless it holds default values.
    changes_ = changes;
    for (auto it = changes.constBegin(); it != changes.constEnd(); ++it) {
        ConsoleValue def;
        if (defaults_->lookup(it.key(), &def) && def == it.value())
            changes_.remove(it.key());
    }
}
