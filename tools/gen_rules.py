#!/usr/bin/env python3
"""Generates the rule rows of src/convert/DynamicsRules.cpp and
src/convert/EffectRackRules.cpp.

The dynamics rows cover the six value slots of every dynamics bank, the on
switch and key-in source of the banks that need a guard, the patch points
and the automixer rack. The effect rack rows are transcribed below per
effect-type tag, one line per group of slots sharing a tree shape. Run it
from anywhere; it rewrites only the generated regions.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from gen_common import c_string, rewrite_region  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
DYNAMICS_TARGET = os.path.join(HERE, "..", "src", "convert", "DynamicsRules.cpp")
EFFECT_TARGET = os.path.join(HERE, "..", "src", "convert", "EffectRackRules.cpp")

# ---------------------------------------------------------------- dynamics

# (bus, processor) pairs; every processor has banks 0 and 1.
PROCESSORS = [("InputChannel", 0), ("InputChannel", 1), ("Mix", 0), ("Matrix", 0), ("Stereo", 0)]
# Processors whose on switch and key-in source are guarded against types 6/7.
GUARDED = [("InputChannel", 1), ("Mix", 0), ("Matrix", 0), ("Stereo", 0)]
# (target, values replaced, constant)
PATCH_POINTS = [
    ("/Mixing/InputChannel/DirectOut/Point/MMS", [200, 210], 30),
    ("/Mixing/Mix/Insert/Point/MMS", [200], 50),
    ("/Mixing/Matrix/Insert/Point/MMS", [200], 50),
    ("/Mixing/Stereo/Insert/Point/MMS", [200], 50),
    ("/Mixing/Mix/ToStereo/Point/MMS", [200, 210], 110),
]
AUTOMIXER = ("/Mixing/GEQRack2/Type:0/MMSDugan", 5)
DYNAMICS_COUNT = 82


def bank(bus, proc, b):
    return "/Mixing/%s/Dynamics:%d/Bank:%d" % (bus, proc, b)


def dynamics_rows():
    rows = []
    for bus, proc in PROCESSORS:
        for b in (0, 1):
            for slot in range(6):
                target = "%s/Parameter:%d/Value/MMS" % (bank(bus, proc, b), slot)
                rows.append("{%s, Shape::ValueSlot, %s, %d, {0, 0}, 0, 0},"
                            % (c_string(target), c_string(bank(bus, proc, b)), slot))
    for bus, proc in GUARDED:
        for b in (0, 1):
            on = "%s/On/MMS" % bank(bus, proc, b)
            key_in = "/Mixing/%s/Dynamics:%d/KeyIn:%d/SourceSelect/MMS" % (bus, proc, b)
            for target in (on, key_in):
                rows.append("{%s, Shape::TypeGuard, %s, 0, {0, 0}, 0, 0},"
                            % (c_string(target), c_string(bank(bus, proc, b))))
    for target, values, constant in PATCH_POINTS:
        padded = values + [0] * (2 - len(values))
        rows.append("{%s, Shape::PatchPoint, nullptr, 0, {%d, %d}, %d, %d},"
                    % (c_string(target), padded[0], padded[1], len(values), constant))
    rows.append("{%s, Shape::AutomixerRack, nullptr, 0, {0, 0}, 0, %d},"
                % (c_string(AUTOMIXER[0]), AUTOMIXER[1]))
    if len(rows) != DYNAMICS_COUNT:
        sys.exit("%d dynamics rows, expected %d" % (len(rows), DYNAMICS_COUNT))
    return rows

# ------------------------------------------------------------ effect rack

GROUPS = [
    ("Rev", [0, 1, 2, 3, 24, 25]), ("RevHD", [26, 27, 28]), ("EarlyRef", [4]), ("GateRev", [5, 6]),
    ("MnDLY", [7]), ("StDLY", [8]), ("DLYLCR", [9]), ("Echo", [10]), ("Chorus", [11]), ("Flange", [12]),
    ("Sym", [13]), ("DynaPhaser", [14]), ("Phaser", [15]), ("DuPitch", [16]), ("Tremolo", [17]),
    ("ATPan", [18]), ("Rotary", [19]), ("RingMod", [20]), ("DynaFilter", [21]), ("Distortion", [22]),
    ("AmpSim", [23]),
]
GROUP_INDEX = {tag: i for i, (tag, _) in enumerate(GROUPS)}

MAPS = [
    [(0, 0), (1, 33), (2, 67), (3, 100)],
    [(4, 1), (5, 1), (6, 2)],
    [(0, 0), (1, 0), (2, 0), (3, 1), (4, 2), (5, 2)],
    [(0, 0), (1, 0), (2, 0), (3, 1), (4, 0)],
]

# Switch rules: name -> [(types, step)]
SWITCHES = [
    ("RevPN", [([0, 24, 26], ("const", 0)), ([1, 25, 27], ("const", 1)), ([2], ("const", 2)),
               ([3, 28], ("const", 3))]),
    ("GateRev0", [([5], ("copy",)), ([6], ("offset", 2))]),
]
SWITCH_INDEX = {name: i for i, (name, _) in enumerate(SWITCHES)}


def F(*steps):
    return ("Filtered", None, list(steps))


def J(table=None, *more):
    first = ("judge",) if table is None else ("judgetable", table)
    return ("BankJudge", None, [first] + list(more))


def R(n, if_step, else_step):
    return ("IfRange", n, [if_step, else_step])


def S(name):
    return ("Switch", SWITCH_INDEX[name], [])


COPY = ("copy",)


def const(n):
    return ("const", n)


def offset(n):
    return ("offset", n)


def table(n):
    return ("table", n)


def add(name):
    return ("add", name)


def div(n):
    return ("div", n)


def mul(n):
    return ("mul", n)


def map_(i):
    return ("map", i)


# (tag, slots, rule); slots are value numbers, "MB" (mix balance) or "PN".
EFFECT_RULES = [
    ("Rev", "PN", S("RevPN")),
    ("Rev", "0 3 5 MB", F(COPY)),
    ("Rev", "1", R(10, const(10), table(3))),
    ("Rev", "2", F(offset(-1))),
    ("Rev", "4", F(mul(25))),
    ("Rev", "6", F(offset(-16))),
    ("Rev", "7", R(63, table(3), const(1000))),
    ("Rev", "8", F(table(1))),
    ("RevHD", "0 5 MB", F(COPY)),
    ("RevHD", "2", R(10, const(10), table(3))),
    ("RevHD", "4", F(offset(-1))),
    ("RevHD", "6", F(offset(-16))),
    ("EarlyRef", "0 2 4 8 MB", J()),
    ("EarlyRef", "1", J(8)),
    ("EarlyRef", "3", R(10, const(10), table(3))),
    ("EarlyRef", "5", F(map_(0))),
    ("EarlyRef", "6", F(offset(99))),
    ("EarlyRef", "7", F(offset(-1))),
    ("EarlyRef", "9", F(offset(-16))),
    ("GateRev", "2 4 8 MB", F(COPY)),
    ("GateRev", "0", S("GateRev0")),
    ("GateRev", "1", F(table(8))),
    ("GateRev", "3", R(10, const(10), table(3))),
    ("GateRev", "5", F(map_(0))),
    ("GateRev", "6", F(offset(99))),
    ("GateRev", "7", F(offset(-1))),
    ("GateRev", "9", F(offset(-16))),
    ("MnDLY", "1 2 3 5 6 7 MB", J()),
    ("MnDLY", "0", R(10, const(10), COPY)),
    ("MnDLY", "4", F(offset(-16))),
    ("StDLY", "2 3 4 5 7 10 MB", J()),
    ("StDLY", "0 1", R(10, const(10), COPY)),
    ("StDLY", "6", F(offset(-16))),
    ("StDLY", "8 9", R(13, COPY, const(13))),
    ("DLYLCR", "4 5 6 8 9 10 11 12 13 14 15 16 MB", J()),
    ("DLYLCR", "0 1 2 3", R(10, const(10), COPY)),
    ("DLYLCR", "7", F(offset(-16))),
    ("Echo", "4 5 7 8 10 15 MB", J()),
    ("Echo", "0 1 2 3", R(10, const(10), COPY)),
    ("Echo", "9", F(offset(-16))),
    ("Echo", "11 12 13 14", R(13, COPY, const(13))),
    ("Chorus", "1 2 4 6 MB", J()),
    ("Chorus", "0", J(4)),
    ("Chorus", "3", J(5)),
    ("Chorus", "5", R(2, const(2), COPY)),
    ("Flange", "1 3 4 6 MB", J()),
    ("Flange", "0", J(4)),
    ("Flange", "2", J(5)),
    ("Flange", "5", R(2, const(2), COPY)),
    ("Sym", "1 3 5 MB", J()),
    ("Sym", "0", J(4)),
    ("Sym", "2", R(8, const(8), table(5))),
    ("Sym", "4", R(2, const(2), COPY)),
    ("DynaPhaser", "0 1 5 6 MB", J()),
    ("DynaPhaser", "2", F(map_(1))),
    ("Phaser", "1 2 6 8 MB", J()),
    ("Phaser", "0", J(4)),
    ("Phaser", "3", J(0)),
    ("Phaser", "7", R(2, const(2), COPY)),
    ("DuPitch", "0 1 2 3 5 6 7 8 9 11 12 15 MB", J()),
    ("DuPitch", "4 10", J(7)),
    ("DuPitch", "13 14", R(13, COPY, const(13))),
    ("Tremolo", "12 14 MB", J()),
    ("Tremolo", "0", J(4)),
    ("Tremolo", "1", J(None, add("/FX/FX/Param:0/Bank:0/Value:2/MMS/Tremolo"), div(2))),
    ("Tremolo", "13", R(2, const(2), COPY)),
    ("ATPan", "13 15 MB", J()),
    ("ATPan", "0", J(4)),
    ("ATPan", "1", J(None, add("/FX/FX/Param:0/Bank:0/Value:2/MMS/ATPan"), div(2))),
    ("ATPan", "3", R(4, COPY, const(0))),
    ("ATPan", "14", R(2, const(2), COPY)),
    ("Rotary", "14 MB", J()),
    ("Rotary", "0", J(4)),
    ("Rotary", "2", J(6)),
    ("Rotary", "4", J(None, add("/FX/FX/Param:0/Bank:0/Value:5/MMS/Rotary"), div(2))),
    ("Rotary", "6", J(None, add("/FX/FX/Param:0/Bank:0/Value:7/MMS/Rotary"), div(2))),
    ("Rotary", "10 12", J(2)),
    ("RingMod", "0", J(9)),
    ("RingMod", "3 MB", J()),
    ("RingMod", "2", J(4)),
    ("DynaFilter", "1 6 MB", J()),
    ("DynaFilter", "0", F(map_(2))),
    ("Distortion", "4 6 MB", J()),
    ("AmpSim", "0 4 MB", J()),
    ("AmpSim", "1", F(map_(3))),
]
EFFECT_COUNT = 184

STEP_KINDS = {
    "copy": "Copy", "const": "Constant", "offset": "Offset", "mul": "Multiply", "div": "Divide",
    "table": "TableCopy", "map": "Map", "judge": "Judge", "judgetable": "JudgeTable", "add": "AddTarget",
}


def step_text(step):
    if step is None:
        return "{}"
    kind = STEP_KINDS[step[0]]
    arg = 0
    name = "nullptr"
    if step[0] == "add":
        name = c_string(step[1])
    elif len(step) > 1:
        arg = step[1]
    if name == "nullptr":
        return "{Kind::%s, %d}" % (kind, arg)
    return "{Kind::%s, %d, %s}" % (kind, arg, name)


def effect_target(tag, slot):
    if slot == "MB":
        return "/FX/FX/MixBalance:0/MMS/%s" % tag
    if slot == "PN":
        return "/FX/FX/Param:0/PluginName:0/MMS/%s" % tag
    return "/FX/FX/Param:0/Bank:0/Value:%s/MMS/%s" % (slot, tag)


def effect_lines():
    lines = ["const EffectRackRules::Group kGroups[] = {"]
    for tag, types in GROUPS:
        padded = types + [0] * (6 - len(types))
        lines.append("    {%s, {%s}, %d}," % (c_string(tag), ", ".join(map(str, padded)), len(types)))
    lines.append("};")
    lines.append("")
    for i, pairs in enumerate(MAPS):
        lines.append("const ValuePair kMap%d[] = {%s};" % (i, ", ".join("{%d, %d}" % p for p in pairs)))
    lines.append("const MapRef kMaps[] = {%s};" % ", ".join("ref(kMap%d)" % i for i in range(len(MAPS))))
    lines.append("")
    for i, (name, cases) in enumerate(SWITCHES):
        lines.append("const EffectRackRules::Case kSwitch%d[] = {" % i)
        for types, step in cases:
            padded = types + [0] * (3 - len(types))
            lines.append("    {{%s}, %d, %s}," % (", ".join(map(str, padded)), len(types), step_text(step)))
        lines.append("};")
    lines.append("const CaseList kSwitches[] = {%s};"
                 % ", ".join("cases(kSwitch%d)" % i for i in range(len(SWITCHES))))
    lines.append("")

    lines.append("const EffectRackRules::Rule kRules[] = {")
    seen = set()
    count = 0
    for tag, slots, (shape, extra, steps) in EFFECT_RULES:
        group = GROUP_INDEX[tag]
        if shape == "BankJudge" and len(GROUPS[group][1]) != 1:
            sys.exit("bank judge on %s, a group of several types" % tag)
        for slot in slots.split():
            target = effect_target(tag, slot)
            if target in seen:
                sys.exit("duplicate rule target " + target)
            seen.add(target)
            padded = steps + [None] * (3 - len(steps))
            rng = extra if shape == "IfRange" else 0
            sw = extra if shape == "Switch" else -1
            lines.append("    {%s, Shape::%s, %d, %d, {%s}, %d},"
                         % (c_string(target), shape, group, rng, ", ".join(step_text(s) for s in padded), sw))
            count += 1
    lines.append("};")
    if count != EFFECT_COUNT:
        sys.exit("%d effect rack rows, expected %d" % (count, EFFECT_COUNT))
    return lines


def main():
    rewrite_region(DYNAMICS_TARGET, "gen_rules.py", ["const DynamicsRules::Rule kRules[] = {"]
                   + ["    " + r for r in dynamics_rows()] + ["};"])
    rewrite_region(EFFECT_TARGET, "gen_rules.py", effect_lines())


if __name__ == "__main__":
    main()
