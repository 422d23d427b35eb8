#pragma once

#include <QVector>

class OVariant;
class QString;
class QStringList;

// The door to the console's parameter memory: one value at a time, by MMS
// address. MmsAccess serves it through the editor link; the text helpers
// here are built on the two primitives so every store shares them.
class MmsStore
{
public:
    virtual ~MmsStore();

    // Fills `value`, or leaves it invalid when the console cannot serve it.
    virtual void GetMMSValue(const QString& address, OVariant& value) const = 0;
    // True when the console accepted the write.
    virtual bool SetMMSValue(const QString& address, const OVariant& value) const = 0;
    // The write of `name`'s `channel` (the automixer's address form when
    // `dugan`). This one forms the address and calls SetMMSValue; a store
    // that knows what the console holds may spare the forming.
    virtual bool SetMMSChannelValue(const QString& name, int channel, bool dugan, const OVariant& value) const;
    // Many values in one go, in the order of `addresses`; all invalid when
    // the console cannot serve the list.
    virtual void GetMMSValues(const QStringList& addresses, QVector<OVariant>& values) const = 0;

    // Empty text for a value the console cannot serve; throws a
    // MixerException pointer for a value that is not text.
    void GetMMSStrValue(const QString& address, QString& text) const;
    // Writes the UTF-8 form of `text`; a refused write is only logged.
    void SetMMSStrValue(const QString& address, const QString& text) const;
};
