#pragma once

#include <cstddef>
#include <string>

class IMixer;
class IParameterConverter;

// The rules for the dynamics value slots, the guarded on switches and key-in
// sources, the patch points and the automixer rack: a constant table of rows
// scanned by exact target name, each row naming its tree shape and arguments.
class DynamicsRules
{
public:
    static constexpr std::size_t Size = 82;

    enum class Shape {
        ValueSlot,     // switch on the bank's type; each type fills the slot from its own source parameter
        TypeGuard,     // if the bank's type is 6 or 7: 0, else copy
        PatchPoint,    // if the point itself is one of `values`: `constant`, else copy
        AutomixerRack, // `constant`
    };

    struct Rule {
        const char* target;
        Shape shape;
        const char* bank;   // "/Mixing/<bus>/Dynamics:<d>/Bank:<b>" for ValueSlot and TypeGuard
        int slot;           // ValueSlot: parameter number 0..5
        int values[2];
        int valueCount;
        int constant;
    };

    // Size rows.
    static const Rule* rules();
    // Null when no row has exactly this target name.
    static const Rule* find(const std::string& targetName);
    // The rule's tree; the root is built on (target, sourceName, targetMixer,
    // sourceMixer). Exceptions from the mixers pass out; nothing leaks.
    // `automixerWhenChosen` makes the automixer rack rule write only where
    // the source's own rack type is an automixer (4 or 5); without it the
    // constant is written for every source.
    static IParameterConverter* Build(const Rule& rule, const std::string& sourceName, IMixer* targetMixer,
                                      IMixer* sourceMixer, bool automixerWhenChosen = false);
};
