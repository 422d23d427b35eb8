#pragma once

#include <cstddef>
#include <string>

// One parameter family of the RQ10 console: the names that begin with
// `prefix` and end with `ending`, each with `channels` channels (0-based).
struct Rq10Family {
    const char* prefix;
    const char* ending;
    int channels;
    int id;            // parameter id handed out for every name of the family
};

// One name list of the RQ10: its head (the list's first element) and the
// number of channel texts that follow it.
struct Rq10NameClass {
    const char* head;
    int channels;
};

// The RQ10's parameter families and name lists: constant tables, scanned
// linearly. The console's texts (channel names, library names, song paths)
// are not numeric parameters: they travel only through the name lists.
class Rq10Families {
public:
    static constexpr std::size_t FamilyCount = 18;
    static constexpr std::size_t NameClassCount = 9;

    static const Rq10Family* families();
    static const Rq10NameClass* nameClasses();

    // The family of a numeric parameter name; null when the RQ10 has no such
    // parameter (unknown prefix or ending, a text parameter, a malformed name).
    static const Rq10Family* find(const std::string& name);
    // Index of the name list with exactly this head; -1 when none.
    static int findNameClass(const std::string& head);
};
