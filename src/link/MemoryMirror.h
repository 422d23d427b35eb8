#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <deque>

// What the console's current memory is known to hold, so that a write of a
// value it holds already need not travel. A show's scenes are written one
// after another onto a freshly reset memory, and almost every value written
// is the value the reset left: once those are known, only the differences
// go to the editor.
//
// Two sources of knowledge: the values written since the memory last
// changed wholesale, and the values a reset leaves (the defaults), learned
// by reading, after a reset, every address written before whose default is
// not known yet. A recall or a load makes the memory unknown again; a
// refused write makes its address unknown until the next wholesale change.
//
// Entries are kept by the value's identity, so that every spelling of an
// address ("/MMS", "/MMS/<tag>", ...) names the one value the console holds.
// Values compare by type and value: the integer 0 is not the empty text.
class MemoryMirror
{
public:
    MemoryMirror() = default;
    MemoryMirror(const MemoryMirror&) = delete;
    MemoryMirror& operator=(const MemoryMirror&) = delete;

    using AddressMaker = QString (*)(const QString& name, int channel);

    // False when the memory is known to hold `value` at `address`; true
    // otherwise, and the write is then taken as done.
    bool needsWrite(const QString& address, const QVariant& value);
    // The same for the address `makeAddress` forms of `name` and `channel`,
    // formed into `address` only when the write must travel or the value is
    // new. Names that are the same text in the same memory (the caller keeps
    // one copy of each) are recognised without forming the address.
    bool needsWrite(const QString& name, int channel, AddressMaker makeAddress, QString& address,
                    const QVariant& value);
    // The editor did not take the write to `address`.
    void refused(const QString& address);

    // The memory now holds the defaults.
    void reset();
    // The memory now holds something unknown (a recalled scene, a file).
    void forget();

    // The values written whose defaults are not known, each once by its
    // identity, in the order first written; taking them empties the list.
    QStringList takeUnlearned();
    // The defaults read for `addresses`; invalid values teach nothing.
    void learn(const QStringList& addresses, const QVector<QVariant>& values);

private:
    struct Entry {
        QString key;          // the value's identity
        QVariant byDefault;   // invalid until learned
        QVariant written;     // invalid: unknown (a refused write)
        quint32 writtenIn = 0;
        bool asked = false;   // queued for learning once, never again
        // The entry written after this one last time: scenes are written in
        // the same order, so the guess usually saves the hash look-up.
        Entry* next = nullptr;
        // The name and channel it was last written by; holding the name
        // keeps its text, so the same text pointer means the same name.
        QString name;
        int channel = -1;
    };

    // Whether `entry` must be written with `value`; a new one is queued for
    // learning by its identity, which the editor reads like any spelling.
    bool decide(Entry& entry, const QVariant& value);

    // The entry of `address`'s value, created when new.
    Entry& find(const QString& address, int identityLength);
    // The same, trying the successor of the last written entry first.
    Entry& findNext(const QString& address);

    std::deque<Entry> m_store;   // stable addresses for `next` and the index
    QHash<QString, Entry*> m_index;
    Entry* m_last = nullptr;
    // A wholesale change starts a new generation instead of clearing.
    quint32 m_generation = 1;
    bool m_atDefaults = false;
    QStringList m_unlearned;
};
