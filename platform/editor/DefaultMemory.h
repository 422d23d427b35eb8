#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

class ConsoleValue;

// The set of addresses the console memory holds, each with its value type
// and default value. Built once from the plug-in's parameter catalogue (every
// name over its channel range, formed by the plug-in's own address rules)
// plus the plain addresses the plug-in writes directly. Keys are normalised:
// the catalogue endings "/MMS", "/MMS/<tag>", "/MMSGEQ", "/MMSDugan" and
// "/MMSFx" are stripped, so both spellings reach the same value.
class DefaultMemory {
public:
    DefaultMemory();

    // Shared, built on first use; immutable afterwards.
    static const DefaultMemory& instance();

    QString normalise(const QString& address) const;
    // Looks up a normalised address.
    bool lookup(const QString& key, ConsoleValue* defaultValue) const;
    int size() const { return slots_.size(); }
    // Addresses that two sources declared with different types or defaults;
    // zero for consistent tables.
    int conflicts() const { return conflicts_; }
    bool isKnownTag(const QString& tag) const { return tags_.contains(tag); }

    // Whether a catalogue name holds text, and its default text if so.
    static bool isTextParameter(const char* catalogName, const QString& plainName,
                                QString* defaultText);

private:
    struct Slot {
        quint8 text;       // 1 for text values, 0 for 32-bit integers
        quint16 textIndex; // index into defaultTexts_ for text values
    };

    void add(const QString& key, bool text, const QString& defaultText);
    void addCatalogue();
    void addDirectAddresses();

    QHash<QString, Slot> slots_;
    QStringList defaultTexts_;
    QSet<QString> tags_;
    int conflicts_ = 0;
};
