#pragma once

#include <cstddef>
#include <string>

class IMixer;
class IParameterConverter;
class TORVANParameterConverterFactory;

// The rules for the effect-type variants of the effect unit's parameters: a
// constant table of rows scanned by exact target name, each naming its
// effect-type group, tree shape and value steps.
class EffectRackRules
{
public:
    static constexpr std::size_t Size = 184;
    // The target's effect type; the dependency of every group filter and
    // switch, and the parameter every bank judge reads from the target.
    static const char* const EffectTypeName;

    enum class Shape {
        Filtered,  // group filter, then steps in order
        BankJudge, // steps in order, the first a judge on the target's effect type
        IfRange,   // group filter; source value at most `range`: steps[0], else steps[1]
        Switch,    // first case whose types hold the source effect type
    };

    enum class StepKind {
        None,
        Copy,
        Constant,   // argument
        Offset,     // argument
        Multiply,   // argument
        Divide,     // argument
        TableCopy,  // table number in argument
        Map,        // map number in argument; unknown keys pass through
        Judge,      // the group's type number
        JudgeTable, // the group's type number, then table number in argument
        AddTarget,  // adds the target mixer's value of `name`
    };

    struct Step {
        StepKind kind = StepKind::None;
        int argument = 0;
        const char* name = nullptr;
    };

    struct Group {
        const char* tag;
        int types[6];
        int typeCount;
    };

    struct Case {
        int types[3];
        int typeCount;
        Step step;
    };

    struct Rule {
        const char* target;
        Shape shape;
        int group;
        int range;
        Step steps[3];
        int switchIndex;    // Switch only
    };

    // Size rows.
    static const Rule* rules();
    static const Group& group(int index);
    static int groupCount();
    // Null when no row has exactly this target name.
    static const Rule* find(const std::string& targetName);
    // The rule's tree; the root is built on (target, sourceName, targetMixer,
    // sourceMixer), tables come from `factory`. Exceptions from the mixers
    // pass out; nothing leaks.
    static IParameterConverter* Build(const Rule& rule, const std::string& sourceName, IMixer* targetMixer,
                                      IMixer* sourceMixer, const TORVANParameterConverterFactory& factory);
};
