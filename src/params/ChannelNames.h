#pragma once

#include <QString>
#include <string>

class IMixer;
class MmsStore;
class QStringList;
class RackAccess;
class RackPlacement;

// Name lists exchanged with the host: channel and bus names, mute group
// names and the library names of FX units and velmar-rack plug-ins. A list
// is headed by its class name; element 1 + k is the text of channel k.
class ChannelNames
{
public:
    static constexpr int ClassCount = 9;

    struct NameClass {
        const char* incoming; // head of a list the host hands in
        const char* console;  // this console's catalogue name of the class
    };
    static const NameClass* classes();

    // `racks`, when given, makes velmar library names read where the plug-ins
    // sit (it learns the placement from the console when it must); without
    // it they read the fixed layout of 16 slots per rack.
    ChannelNames(const MmsStore& store, const RackPlacement& placement, RackAccess* racks = nullptr);

    // FX library names follow the current FX placement. Out-of-range and
    // unplaced units read empty without a request.
    void GetMMSChName(const std::string& name, int channel, QString& text) const;
    // FX and velmar names follow the placement; unplaced units are skipped.
    void SetMMSChName(const std::string& name, int channel, QString text) const;

    // Appends the class name and one text per channel of the class; the
    // channel range comes through the mixer's own LookupParameterRanges.
    void GetNameParameterList(int index, QStringList& list, IMixer& mixer) const;
    // Writes elements 1.. of a list whose head names a class; elements beyond
    // the class's channel count are not sent.
    void SetNameParameterList(const QStringList& list) const;

private:
    const MmsStore& m_store;
    const RackPlacement& m_placement;
    RackAccess* m_racks;
};
