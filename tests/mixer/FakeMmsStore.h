#pragma once

#include "params/MmsStore.h"
#include "support/OVariant.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <vector>

// An in-memory console memory: serves the values put in, records every read
// and write in order, and can refuse writes.
class FakeMmsStore : public MmsStore
{
public:
    struct Write {
        QString address;
        OVariant value;
    };

    void GetMMSValue(const QString& address, OVariant& value) const override
    {
        reads.append(address);
        const auto it = values.find(address);
        if (it == values.end())
            value.clear();
        else
            value = it.value();
    }

    bool SetMMSValue(const QString& address, const OVariant& value) const override
    {
        writes.push_back(Write{address, value});
        if (refuseWrites)
            return false;
        values[address] = value;
        return true;
    }

    void putText(const QString& address, const char* text)
    {
        values[address] = OVariant(text, OVariant::MaxStringSize - 1);
    }
    void putInt(const QString& address, int value) { values[address] = OVariant(value); }

    bool refuseWrites = false;
    mutable QMap<QString, OVariant> values;
    mutable QStringList reads;
    mutable std::vector<Write> writes;
};
