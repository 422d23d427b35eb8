#!/usr/bin/env python3
"""Generates the KX9 parameter catalogue rows of src/params/ParameterCatalog.cpp.

Each family is a path prefix, its highest channel index, its row count and a
list of groups "leaf [sub], leaf [sub] -> id n". A leaf is the rest of the
name without the final "/MMS"; {a..b} and {a,b,c} expand to every
combination. [rule] sub-indices follow from sub_index_rule(). The FX family
is built in fx_family() because its effect-type variants follow per-tag
value lists. Run it from anywhere; it rewrites only the generated region.
"""

import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from gen_common import c_string, expand, rewrite_region  # noqa: E402

TARGET = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "params", "ParameterCatalog.cpp")
TOTAL = 1710

# (prefix, channelMax or None when each group gives its channels, rows, groups)
FAMILIES = [
    ('/SceneInfo/Playback:0', 0, 3, """
        On [0], OffsetTime [1], SongFilePath [2] -> id 32
    """),
    ('/Mixing/InputChannel', 119, 574, """
        Signal/Relation [0] -> id 44;
        Signal/StereoInputType [0] -> id 808;
        ToStereo/PanMode [0] -> id 47;
        ToStereo:0/ToStereoA [0] -> id 71;
        ToStereo:0/ToStereoB [0] -> id 72;
        ToStereo:0/ToLCR [0], ToStereo:0/CSR [1] -> id 48;
        ToStereo:0/PanType [0], ToStereo:0/Pan [1] -> id 54;
        Input/Phase [0] -> id 52;
        Input/Gain [1] -> id 57;
        DelayGang [1], GainGang [1], Delay/On [0], Delay/Time [2], Delay/Insert/Point [2] -> id 56;
        DirectOut/Level [2], DirectOut/Point [1], DirectOut/On [0], DirectOut/FollowOn [0],
            DirectOut/FollowFader [0], DirectOut/FollowDCA [0] -> id 51;
        Fader/Level [0] -> id 55;
        Fader/On [0] -> id 53;
        Insert/Point [1], Insert/On [0] -> id 50;
        Label/Icon [0], Label/Color [1] -> id 158;
        PEQ/Select [1], LPF:{0..1}/On [6], LPF:{0..1}/Frequency [21], LPF:{0..1}/Slope [67] -> id 67;
        HPF:{0..1}/On [0], HPF:{0..1}/Frequency [1], HPF:{0..1}/Slope [2] -> id 66;
        PEQ:0/Bank:{0..1}/Attenuator/Gain [1] -> id 58;
        PEQ:0/Bank:{0..1}/Band:{0..3}/Bypass [rule] -> id 862;
        PEQ:0/Bank:{0..1}/On [2] -> id 67;
        PEQ:0/Bank:{0..1}/Type [0] -> id 862;
        PEQ:0/Bank:{0..1}/LowShelving/On [3], PEQ:0/Bank:{0..1}/HighShelving/On [4],
            PEQ:0/Bank:{0..1}/Band:{0..3}/Frequency [rule], PEQ:0/Bank:{0..1}/Band:{0..3}/Gain [rule],
            PEQ:0/Bank:{0..1}/Band:{0..3}/Q [rule] -> id 67;
        PEQ:0/Bank:{0..1}/LowShelving/Q [1], PEQ:0/Bank:{0..1}/HighShelving/Q [2] -> id 862;
        ToMatrix:{0..11}/Level [rule], ToMatrix:{0..11}/On [rule], ToMatrix:{0..11}/Pre [rule] -> id 75;
        ToMatrix:{0,2,4,6,8,10}/Pan [rule] -> id 76;
        ToMatrix:{0..11}/FollowOn [rule], ToMatrix:{0..11}/FollowFader [rule],
            ToMatrix:{0..11}/FollowDCA [rule] -> id 75;
        ToMix:{0..47}/Level [rule], ToMix:{0..47}/On [rule], ToMix:{0..47}/Pre [rule] -> id 73;
        ToMix:{0,2,4,6,8,10,12,14,16,18,20,22,24,26,28,30,32,34,36,38,40,42,44,46}/Pan [rule] -> id 74;
        ToMix:{0..47}/FollowOn [rule], ToMix:{0..47}/FollowFader [rule],
            ToMix:{0..47}/FollowDCA [rule] -> id 73;
        DCA:0/Assign:{0..23} [rule] -> id 70;
        MuteGroup:0/Assign:{0..11} [rule] -> id 69;
        Dynamics:{0..1}/Select [1], Dynamics:{0..1}/Bank:{0..1}/On [0],
            Dynamics:{0..1}/Bank:{0..1}/Type [1],
            Dynamics:{0..1}/KeyIn:{0..1}/SourceSelect [4] -> id 61 for Dynamics:0, 64 for Dynamics:1;
        Dynamics:{0..1}/KeyIn:{0..1}/FilterType [6], Dynamics:{0..1}/KeyIn:{0..1}/FilterFrequency [7],
            Dynamics:{0..1}/KeyIn:{0..1}/FilterQ [8] -> id 61;
        Dynamics:{0..1}/Bank:{0..1}/Parameter:{0..5}/Value [rule] -> id 61 for Dynamics:0, 64 for Dynamics:1;
        Surround/Pan/LR [0], Surround/Pan/FR [1], Surround/Pan/Divergence [2], Surround/Pan/ToL [3],
            Surround/Pan/ToR [4], Surround/Pan/ToC [5], Surround/Pan/ToLFE [6], Surround/Pan/ToLs [7],
            Surround/Pan/ToRs [8], Surround/LFE/Level [9] -> id 801;
        Label:0/Name:0 [0] -> id 157
    """),
    ('/Mixing/Matrix', 11, 165, """
        Signal/Relation [0] -> id 41;
        Signal/PanLink [0] -> id 43;
        DelayGang [1] -> id 56;
        Out/Balance [0] -> id 100;
        Delay/On [0], Delay/Time [2] -> id 56;
        Fader/Level [0] -> id 101;
        Fader/On [0] -> id 99;
        Insert/Point [1], Insert/On [0] -> id 98;
        Label/Icon [0], Label/Color [1] -> id 171;
        PEQ/Select [1], LPF:{0..1}/On [6], LPF:{0..1}/Frequency [21], LPF:{0..1}/Slope [2],
            HPF:{0..1}/On [0], HPF:{0..1}/Frequency [1], HPF:{0..1}/Slope [2] -> id 107;
        PEQ:0/Bank:{0..1}/Attenuator/Gain [1] -> id 102;
        PEQ:0/Bank:{0..1}/Band:{0..7}/Bypass [rule] -> id 864;
        PEQ:0/Bank:{0..1}/On [2] -> id 107;
        PEQ:0/Bank:{0..1}/Type [0] -> id 863;
        PEQ:0/Bank:{0..1}/LowShelving/On [3], PEQ:0/Bank:{0..1}/HighShelving/On [4],
            PEQ:0/Bank:{0..1}/Band:{0..7}/Frequency [rule], PEQ:0/Bank:{0..1}/Band:{0..7}/Gain [rule],
            PEQ:0/Bank:{0..1}/Band:{0..7}/Q [rule] -> id 107;
        PEQ:0/Bank:{0..1}/LowShelving/Q [1], PEQ:0/Bank:{0..1}/HighShelving/Q [2] -> id 863;
        DCA:0/Assign:{0..23} [rule] -> id 109;
        MuteGroup:0/Assign:{0..11} [rule] -> id 108;
        Dynamics:0/Select [1], Dynamics:0/Bank:{0..1}/On [0], Dynamics:0/Bank:{0..1}/Type [1],
            Dynamics:0/KeyIn:{0..1}/SourceSelect [4] -> id 105;
        Dynamics:0/KeyIn:{0..1}/FilterType [6], Dynamics:0/KeyIn:{0..1}/FilterFrequency [7],
            Dynamics:0/KeyIn:{0..1}/FilterQ [8] -> id 61;
        Dynamics:0/Bank:{0..1}/Parameter:{0..5}/Value [rule] -> id 105;
        Label:0/Name:0 [0] -> id 168
    """),
    ('/Mixing/Mix', 47, 216, """
        Signal/Relation [0] -> id 38;
        BusType [0] -> id 39;
        Signal/PanLink [0] -> id 40;
        DelayGang [1] -> id 56;
        ToStereo/PanMode [0] -> id 78;
        ToStereo/PanType [2], ToStereo/Point [2], ToStereo:0/ToStereoA [0] -> id 93;
        ToStereo:0/ToStereoB [0] -> id 94;
        ToStereo:0/ToLCR [0], ToStereo:0/CSR [1] -> id 79;
        ToStereo/Pan [2] -> id 93;
        Out/Balance [0] -> id 83;
        Delay/On [0], Delay/Time [2] -> id 56;
        Fader/Level [0] -> id 84;
        Fader/On [0] -> id 82;
        Insert/Point [1], Insert/On [0] -> id 81;
        Label/Icon [0], Label/Color [1] -> id 170;
        PEQ/Select [1], LPF:{0..1}/On [6], LPF:{0..1}/Frequency [21], LPF:{0..1}/Slope [2],
            HPF:{0..1}/On [0], HPF:{0..1}/Frequency [1], HPF:{0..1}/Slope [2] -> id 90;
        PEQ:0/Bank:{0..1}/Attenuator/Gain [1] -> id 85;
        PEQ:0/Bank:{0..1}/Band:{0..7}/Bypass [rule] -> id 863;
        PEQ:0/Bank:{0..1}/On [2] -> id 90;
        PEQ:0/Bank:{0..1}/Type [0] -> id 863;
        PEQ:0/Bank:{0..1}/LowShelving/On [3], PEQ:0/Bank:{0..1}/HighShelving/On [4],
            PEQ:0/Bank:{0..1}/Band:{0..7}/Frequency [rule], PEQ:0/Bank:{0..1}/Band:{0..7}/Gain [rule],
            PEQ:0/Bank:{0..1}/Band:{0..7}/Q [rule] -> id 90;
        PEQ:0/Bank:{0..1}/LowShelving/Q [1], PEQ:0/Bank:{0..1}/HighShelving/Q [2] -> id 863;
        ToMatrix:{0..11}/Level [rule], ToMatrix:{0..11}/On [rule], ToMatrix:{0..11}/Pre [rule] -> id 91;
        ToMatrix:{0,2,4,6,8,10}/Pan [rule] -> id 92;
        DCA:0/Assign:{0..23} [rule] -> id 96;
        MuteGroup:0/Assign:{0..11} [rule] -> id 95;
        Dynamics:0/Select [1], Dynamics:0/Bank:{0..1}/On [0], Dynamics:0/Bank:{0..1}/Type [1],
            Dynamics:0/KeyIn:{0..1}/SourceSelect [4] -> id 88;
        Dynamics:0/KeyIn:{0..1}/FilterType [6], Dynamics:0/KeyIn:{0..1}/FilterFrequency [7],
            Dynamics:0/KeyIn:{0..1}/FilterQ [8] -> id 61;
        Dynamics:0/Bank:{0..1}/Parameter:{0..5}/Value [rule] -> id 88;
        Label:0/Name:0 [0] -> id 167
    """),
    ('/Mixing/Stereo', 3, 206, """
        Mono [0] -> id 0;
        DelayGang [1] -> id 56;
        Out/Balance [0] -> id 114;
        Delay/On [0], Delay/Time [2] -> id 56;
        Fader/Level [0] -> id 115;
        Fader/On [0] -> id 113;
        Insert/Point [1], Insert/On [0] -> id 112;
        Label/Icon [0], Label/Color [1] -> id 172;
        PEQ/Select [1], LPF:{0..1}/On [6], LPF:{0..1}/Frequency [21], LPF:{0..1}/Slope [2],
            HPF:{0..1}/On [0], HPF:{0..1}/Frequency [1], HPF:{0..1}/Slope [2] -> id 121;
        PEQ:0/Bank:{0..1}/Attenuator/Gain [1] -> id 116;
        PEQ:0/Bank:{0..1}/Band:{0..7}/Bypass [rule] -> id 865;
        PEQ:0/Bank:{0..1}/On [2] -> id 121;
        PEQ:0/Bank:{0..1}/Type [0] -> id 863;
        PEQ:0/Bank:{0..1}/LowShelving/On [3], PEQ:0/Bank:{0..1}/HighShelving/On [4],
            PEQ:0/Bank:{0..1}/Band:{0..7}/Frequency [rule], PEQ:0/Bank:{0..1}/Band:{0..7}/Gain [rule],
            PEQ:0/Bank:{0..1}/Band:{0..7}/Q [rule] -> id 121;
        PEQ:0/Bank:{0..1}/LowShelving/Q [1], PEQ:0/Bank:{0..1}/HighShelving/Q [2] -> id 863;
        ToMatrix:{0..11}/Level [rule], ToMatrix:{0..11}/On [rule], ToMatrix:{0..11}/Pre [rule] -> id 122;
        ToMatrix:{0,2,4,6,8,10}/Pan [rule] -> id 123;
        DCA:0/Assign:{0..23} [rule] -> id 125;
        MuteGroup:0/Assign:{0..11} [rule] -> id 124;
        Dynamics:0/Select [1], Dynamics:0/Bank:{0..1}/On [0], Dynamics:0/Bank:{0..1}/Type [1],
            Dynamics:0/KeyIn:{0..1}/SourceSelect [4] -> id 119;
        Dynamics:0/KeyIn:{0..1}/FilterType [6], Dynamics:0/KeyIn:{0..1}/FilterFrequency [7],
            Dynamics:0/KeyIn:{0..1}/FilterQ [8] -> id 61;
        Dynamics:0/Bank:{0..1}/Parameter:{0..5}/Value [rule] -> id 119;
        Label:0/Name:0 [0] -> id 169
    """),
    ('/Setup/InputChannel', 119, 1, """
        MuteSafe:0/On [0] -> id 285
    """),
    ('/Setup/Matrix', 11, 1, """
        MuteSafe/On [0] -> id 286
    """),
    ('/Setup/Mix', 47, 1, """
        MuteSafe/On [0] -> id 287
    """),
    ('/Setup/Stereo', 3, 1, """
        MuteSafe/On [0] -> id 288
    """),
    ('/Mixing/DCA', 23, 5, """
        Fader/Level [0] -> id 128;
        Fader/On [0] -> id 126;
        Label/Icon [0], Label/Color [1] -> id 131;
        Label:0/Name:0 [0] -> id 130
    """),
    ('/Mixing/MixingMode', 0, 1, """
        Mode [0] -> id 812
    """),
    ('/Mixing/Surround', 0, 25, """
        DownMix:0/SurroundBus:{0..5}/ToL:0 [0], DownMix:0/SurroundBus:{0..5}/ToR:0 [1],
            DownMix:0/SurroundBus:{0..5}/Level:0 [2] -> id 802;
        BusAssign/Assign:0 [0], BusAssign:{0..5}/Assign:0 [0] -> id 813
    """),
    ('/VelmarRack/VelmarRack2', 63, 107, """
        PlugIn:0/PluginName [0], PlugIn:0/SlotSize [0], PlugIn:0/ItemlNum [0],
            PlugIn:0/LR:{0..1}/TempoAssign:0 [4], PlugIn:0/LR:{0..1}/Bypass:0 [4],
            PlugIn:0/LR:{0..1}/Parameter:{0..48}/Value:0 [rule],
            PlugIn:0/LR:{0..1}/LibraryName:0 [4] -> id 705
    """),
    ('/Mixing/DuganAutomixer', 63, 6, """
        Channel/Group [0], Channel/Bypass [1], Channel/Override [2], Channel/ChMode [3],
            Channel/ChModePreset [4], Channel/Weight [5] -> id 753
    """),
    ('/Mixing/GEQRack2', None, 184, """
        Type:0/MMSDugan [0] -> id 134 (channels 0..0);
        Type:0/MMSGEQ [0] -> id 134 (channels 0..15);
        Type:0 [0], GEQLink [1], GEQLRLink [2] -> id 134 (channels 0..31);
        PEQLRLink [0] -> id 809 (channels 0..31);
        AB:{0..1}/On [rule], AB:{0..1}/GEQ:0/Limit:0 [4],
            AB:{0..1}/GEQ:0/Band:{0..30}/Gain:0 [rule] -> id 134 (channels 0..31);
        AB:{0..1}/NotchFilter:{0..3}/On [rule], AB:{0..1}/NotchFilter:{0..3}/Frequency [rule],
            AB:{0..1}/NotchFilter:{0..3}/Q [rule], AB:{0..1}/PEQ/Type [0],
            AB:{0..1}/PEQ:0/Band:{0..7}/Bypass [rule], AB:{0..1}/PEQ:0/Band:{0..7}/Gain [rule],
            AB:{0..1}/PEQ:0/Band:{0..7}/Frequency [rule], AB:{0..1}/PEQ:0/Band:{0..7}/Q [rule],
            AB:{0..1}/PEQ:0/LowShelving:0/On:0 [38], AB:{0..1}/PEQ:0/LowShelving:0/Q:0 [38],
            AB:{0..1}/PEQ:0/HighShelving:0/On:0 [35], AB:{0..1}/PEQ:0/HighShelving:0/Q:0 [35],
            AB:{0..1}/PEQ:0/Attenuator:0/Gain:0 [34], AB:{0..1}/HPF:0/On:0 [35],
            AB:{0..1}/HPF:0/Frequency:0 [36], AB:{0..1}/HPF:0/Slope:0 [37], AB:{0..1}/LPF:0/On:0 [38],
            AB:{0..1}/LPF:0/Frequency:0 [39], AB:{0..1}/LPF:0/Slope:0 [40] -> id 809 (channels 0..31)
    """),
    ('/Mixing/Mute', 11, 1, """
        Label:0/Name:0 [0] -> id 754
    """),
]

# Effect-type variants of the FX values: tag -> value indices k.
FX_TAGS = [
    ("Rev", "0..8"),
    ("RevHD", "0,2,4,5,6"),
    ("EarlyRef", "0..9"),
    ("GateRev", "0..9"),
    ("MnDLY", "0..7"),
    ("StDLY", "0..10"),
    ("DLYLCR", "0..16"),
    ("Echo", "0..5,7..15"),
    ("Chorus", "0..6"),
    ("Flange", "0..6"),
    ("Sym", "0..5"),
    ("DynaPhaser", "0,1,2,5,6"),
    ("Phaser", "0..3,6..8"),
    ("DuPitch", "0..15"),
    ("Tremolo", "0,1,2,12,13,14"),
    ("ATPan", "0..3,13..15"),
    ("Rotary", "0,2,4..7,9..12,14"),
    ("RingMod", "0,2,3"),
    ("DynaFilter", "0,1,6"),
    ("Distortion", "4,6"),
    ("AmpSim", "0,1,4"),
]
FX_ID = 705
FX_CHANNEL_MAX = 15
FX_ROWS = 213

# Value slots whose sub-index departs from 6 + k, and mix balances that
# depart from 7 + the largest k of the tag.
FX_VALUE_EXCEPTIONS = {("RevHD", 4): 8, ("Phaser", 6): 10, ("Phaser", 7): 11, ("Phaser", 8): 12}
FX_MIXBALANCE_EXCEPTIONS = {"Phaser": 13, "Distortion": 11, "AmpSim": 8}

DYNAMICS_PARAMETER_SUBS = [16, 9, 12, 13, 15, 14]


def index_list(text):
    values = []
    for part in text.split(","):
        if ".." in part:
            lo, hi = part.split("..")
            values.extend(range(int(lo), int(hi) + 1))
        else:
            values.append(int(part))
    return values


def strip_sends(leaf, limit, pan_limit):
    m = re.fullmatch(r"To(?:Mix|Matrix):(\d+)/(\w+)", leaf)
    if not m:
        return None
    k, what = int(m.group(1)), m.group(2)
    if what == "Pan":
        return min(k // 2, pan_limit)
    base = {"On": 3, "FollowOn": 3, "FollowFader": 3, "FollowDCA": 3, "Pre": 4, "Level": 5}[what]
    return base + 3 * min(k, limit)


def sub_index_rule(prefix, leaf):
    """Sub-index of a [rule] leaf; raises when no rule covers it."""
    if leaf.startswith("ToMix:"):
        return strip_sends(leaf, 23, 11)
    if leaf.startswith("ToMatrix:"):
        return strip_sends(leaf, 7, 3)
    m = re.fullmatch(r"DCA:0/Assign:(\d+)", leaf)
    if m:
        return min(int(m.group(1)), 15)
    m = re.fullmatch(r"MuteGroup:0/Assign:(\d+)", leaf)
    if m:
        return min(int(m.group(1)), 7)
    if prefix == "/Mixing/GEQRack2":
        m = re.fullmatch(r"AB:(\d)/On", leaf)
        if m:
            return 3 + int(m.group(1))
        m = re.fullmatch(r"AB:\d/GEQ:0/Band:(\d+)/Gain:0", leaf)
        if m:
            return 9 + int(m.group(1))
        m = re.fullmatch(r"AB:\d/NotchFilter:(\d)/(On|Frequency|Q)", leaf)
        if m:
            return {"On": 41, "Frequency": 42, "Q": 43}[m.group(2)] + 3 * min(int(m.group(1)), 2)
        m = re.fullmatch(r"AB:\d/PEQ:0/Band:(\d)/(Bypass|Gain|Frequency|Q)", leaf)
        if m:
            return {"Bypass": 2, "Gain": 3, "Frequency": 4, "Q": 5}[m.group(2)] + 4 * int(m.group(1))
    else:
        m = re.fullmatch(r"PEQ:0/Bank:\d/Band:(\d)/(Bypass|Q|Frequency|Gain)", leaf)
        if m:
            k = min(int(m.group(1)), 3)
            what = m.group(2)
            return 3 + k if what == "Bypass" else {"Q": 8, "Frequency": 9, "Gain": 10}[what] + 4 * k
    m = re.fullmatch(r"Dynamics:\d/Bank:\d/Parameter:(\d)/Value", leaf)
    if m:
        return DYNAMICS_PARAMETER_SUBS[int(m.group(1))]
    m = re.fullmatch(r"PlugIn:0/LR:(\d)/Parameter:(\d+)/Value:0", leaf)
    if m:
        return (6 if m.group(1) == "0" else 70) + int(m.group(2))
    raise SystemExit("no sub-index rule for %s/%s" % (prefix, leaf))


def full_name(prefix, leaf):
    if "/MMS/" in leaf or leaf.endswith("MMSGEQ") or leaf.endswith("MMSDugan"):
        return prefix + "/" + leaf
    return prefix + "/" + leaf + "/MMS"


def parse_id(text, leaf):
    """"n" or "n for Dynamics:0, m for Dynamics:1"."""
    m = re.fullmatch(r"(\d+) for Dynamics:0, (\d+) for Dynamics:1", text)
    if m:
        d = re.match(r"Dynamics:(\d)", leaf)
        if not d:
            raise SystemExit("per-Dynamics id on a leaf without Dynamics: " + leaf)
        return int(m.group(1) if d.group(1) == "0" else m.group(2))
    return int(text)


def family_rows(prefix, channel_max, body):
    rows = []
    for group in body.split(";"):
        group = " ".join(group.split())
        if not group:
            continue
        m = re.fullmatch(r"(.*) -> id (.+?)(?: \(channels 0\.\.(\d+)\))?", group)
        if not m:
            raise SystemExit("bad group: " + group)
        leaves_text, id_text, group_channels = m.groups()
        ch = int(group_channels) if group_channels is not None else channel_max
        if ch is None:
            raise SystemExit("no channel range for group: " + group)
        pos = 0
        for sm in re.finditer(r"\[(rule|\d+)\]", leaves_text):
            pattern = leaves_text[pos:sm.start()].strip().lstrip(",").strip()
            pos = sm.end()
            for leaf in expand(pattern):
                sub = sub_index_rule(prefix, leaf) if sm.group(1) == "rule" else int(sm.group(1))
                rows.append((full_name(prefix, leaf), parse_id(id_text, leaf), ch, sub))
        if leaves_text[pos:].strip():
            raise SystemExit("trailing text in group: " + group)
    return rows


def fx_family():
    p = "/FX/FX"
    rows = []

    def add(leaf, sub):
        rows.append((full_name(p, leaf), FX_ID, FX_CHANNEL_MAX, sub))

    add("Param:0/PluginName:0", 0)
    add("Param:0/SlotSize:0", 1)
    add("Param:0/TempoAssign:0", 4)
    add("Bypass:0", 4)
    add("MixBalance:0", 4)
    for k in range(17):
        # Value:10 and Value:11 share one console slot.
        add("Param:0/Bank:0/Value:%d" % k, 17 if k == 10 else 6 + k)
    add("Param:0/LibraryName:0", 0)
    add("Param:0/PluginName:0/MMS/Rev", 0)
    for tag, indices in FX_TAGS:
        ks = index_list(indices)
        for k in ks:
            add("Param:0/Bank:0/Value:%d/MMS/%s" % (k, tag), FX_VALUE_EXCEPTIONS.get((tag, k), 6 + k))
        add("MixBalance:0/MMS/%s" % tag, FX_MIXBALANCE_EXCEPTIONS.get(tag, 7 + max(ks)))
    if len(rows) != FX_ROWS:
        raise SystemExit("/FX/FX: %d rows, expected %d" % (len(rows), FX_ROWS))
    return rows


def catalogue():
    rows = []
    for prefix, channel_max, count, body in FAMILIES:
        fam = family_rows(prefix, channel_max, body)
        if len(fam) != count:
            raise SystemExit("%s: %d rows, expected %d" % (prefix, len(fam), count))
        rows.extend(fam)
        # The FX family follows the velmar rack.
        if prefix == "/VelmarRack/VelmarRack2":
            rows.extend(fx_family())
    names = [r[0] for r in rows]
    if len(set(names)) != len(names):
        dup = sorted({n for n in names if names.count(n) > 1})
        raise SystemExit("duplicate names: %s" % dup[:5])
    if len(rows) != TOTAL:
        raise SystemExit("%d rows, expected %d" % (len(rows), TOTAL))
    return rows


def main():
    lines = ["    {%s, %d, 0, %d, %d, %d}," % (c_string(n), i, ch, sub, sub) for n, i, ch, sub in catalogue()]
    rewrite_region(TARGET, "gen_catalog.py", lines)


if __name__ == "__main__":
    main()
