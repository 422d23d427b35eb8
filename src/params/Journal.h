#pragma once

#include <string>

class QLoggingCategory;
class QString;
class QVariant;

// The plug-in's account of what became of the values the host gave it, for
// a host that wants to tell its user. Each event is one line in the logging
// category "qora.journal" at info level: a compact JSON object whose "event"
// names it. The lines are a stable format (docs/plaxbridge.md lists them);
// nothing is formatted while the category is off.
class Journal
{
public:
    Journal() = delete;

    static const QLoggingCategory& category();

    // The editor did not take a write (or it was never sent): `reason` is
    // the editor's own word when it gave one.
    static void refused(const QString& address, const QVariant& value, const QString& reason);
    // An FX unit (plug-in) of `type` was placed on `rack` (and `slot`), or
    // found no place for its `size` racks (slots).
    static void placed(bool plugin, int unit, int type, const char* typeName, int size, int rack, int slot);
    static void unplaced(bool plugin, int unit, int type, const char* typeName, int size);
    // The first value since the last memory reset that went to a unit
    // without a place, and so nowhere.
    static void dropped(bool plugin, int unit, const std::string& parameter);
    // The editor's connection closed without the plug-in asking: every
    // later call gets its fall-back at once. Logged on the link's thread.
    static void editorGone();
};
