#!/usr/bin/env python3
"""Generates the target -> source name pairs of src/convert/NameRemapTable.cpp.

Four groups, in this order: same-name rows, dynamics parameter rows, effect
rack rows (KX9 "/FX/FX" fed from plug-in 0 of the TORVAN second velmar
rack) and graphic-equaliser rack rows (source = target + "GEQ"). Patterns
expand {a,b}, {a..b} and {a..b even}, leftmost brace outermost.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from gen_common import c_string, expand, rewrite_region  # noqa: E402

TARGET = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "convert", "NameRemapTable.cpp")
GROUP_SIZES = (1278, 60, 189, 182)

SAME_NAME = """
/SceneInfo/Playback:0/On/MMS
/SceneInfo/Playback:0/OffsetTime/MMS
/SceneInfo/Playback:0/SongFilePath/MMS
/Mixing/InputChannel/Signal/Relation/MMS
/Mixing/InputChannel/Signal/StereoInputType/MMS
/Mixing/Matrix/Signal/Relation/MMS
/Mixing/Mix/Signal/Relation/MMS
/Mixing/Stereo/Mono/MMS
/Mixing/Mix/BusType/MMS
/Mixing/Mix/Signal/PanLink/MMS
/Mixing/Matrix/Signal/PanLink/MMS
/Mixing/Mix/DelayGang/MMS
/Mixing/Matrix/DelayGang/MMS
/Mixing/Stereo/DelayGang/MMS
/Mixing/InputChannel/ToStereo/PanMode/MMS
/Mixing/Mix/ToStereo/PanMode/MMS
/Mixing/Mix/ToStereo/PanType/MMS
/Mixing/Mix/ToStereo/Point/MMS
/Mixing/InputChannel/ToStereo:0/ToStereoA/MMS
/Mixing/InputChannel/ToStereo:0/ToStereoB/MMS
/Mixing/InputChannel/ToStereo:0/ToLCR/MMS
/Mixing/InputChannel/ToStereo:0/CSR/MMS
/Mixing/InputChannel/ToStereo:0/PanType/MMS
/Mixing/InputChannel/ToStereo:0/Pan/MMS
/Mixing/Mix/ToStereo:0/ToStereoA/MMS
/Mixing/Mix/ToStereo:0/ToStereoB/MMS
/Mixing/Mix/ToStereo:0/ToLCR/MMS
/Mixing/Mix/ToStereo:0/CSR/MMS
/Mixing/Mix/ToStereo/Pan/MMS
/Mixing/Mix/Out/Balance/MMS
/Mixing/Matrix/Out/Balance/MMS
/Mixing/Stereo/Out/Balance/MMS
/Mixing/InputChannel/Input/Phase/MMS
/Mixing/InputChannel/Input/Gain/MMS
/Mixing/InputChannel/DelayGang/MMS
/Mixing/InputChannel/GainGang/MMS
/Setup/InputChannel/MuteSafe:0/On/MMS
/Setup/Matrix/MuteSafe/On/MMS
/Setup/Mix/MuteSafe/On/MMS
/Setup/Stereo/MuteSafe/On/MMS
/Mixing/InputChannel/Delay/On/MMS
/Mixing/InputChannel/Delay/Time/MMS
/Mixing/InputChannel/Delay/Insert/Point/MMS
/Mixing/Mix/Delay/On/MMS
/Mixing/Mix/Delay/Time/MMS
/Mixing/Matrix/Delay/On/MMS
/Mixing/Matrix/Delay/Time/MMS
/Mixing/Stereo/Delay/On/MMS
/Mixing/Stereo/Delay/Time/MMS
/Mixing/InputChannel/DirectOut/Level/MMS
/Mixing/InputChannel/DirectOut/Point/MMS
/Mixing/InputChannel/DirectOut/On/MMS
/Mixing/InputChannel/DirectOut/FollowOn/MMS
/Mixing/InputChannel/DirectOut/FollowFader/MMS
/Mixing/InputChannel/DirectOut/FollowDCA/MMS
/Mixing/InputChannel/Fader/Level/MMS
/Mixing/InputChannel/Fader/On/MMS
/Mixing/Mix/Fader/Level/MMS
/Mixing/Mix/Fader/On/MMS
/Mixing/Matrix/Fader/Level/MMS
/Mixing/Matrix/Fader/On/MMS
/Mixing/Stereo/Fader/Level/MMS
/Mixing/Stereo/Fader/On/MMS
/Mixing/DCA/Fader/Level/MMS
/Mixing/DCA/Fader/On/MMS
/Mixing/InputChannel/Insert/Point/MMS
/Mixing/InputChannel/Insert/On/MMS
/Mixing/Mix/Insert/Point/MMS
/Mixing/Mix/Insert/On/MMS
/Mixing/Matrix/Insert/Point/MMS
/Mixing/Matrix/Insert/On/MMS
/Mixing/Stereo/Insert/Point/MMS
/Mixing/Stereo/Insert/On/MMS
/Mixing/InputChannel/Label/Icon/MMS
/Mixing/InputChannel/Label/Color/MMS
/Mixing/Mix/Label/Icon/MMS
/Mixing/Mix/Label/Color/MMS
/Mixing/Matrix/Label/Icon/MMS
/Mixing/Matrix/Label/Color/MMS
/Mixing/Stereo/Label/Icon/MMS
/Mixing/Stereo/Label/Color/MMS
/Mixing/DCA/Label/Icon/MMS
/Mixing/DCA/Label/Color/MMS
/Mixing/InputChannel/PEQ/Select/MMS
/Mixing/Mix/PEQ/Select/MMS
/Mixing/Matrix/PEQ/Select/MMS
/Mixing/Stereo/PEQ/Select/MMS
/Mixing/InputChannel/LPF:{0,1}/On/MMS
/Mixing/InputChannel/LPF:{0,1}/Frequency/MMS
/Mixing/InputChannel/LPF:{0,1}/Slope/MMS
/Mixing/InputChannel/HPF:{0,1}/On/MMS
/Mixing/InputChannel/HPF:{0,1}/Frequency/MMS
/Mixing/InputChannel/HPF:{0,1}/Slope/MMS
/Mixing/Matrix/LPF:{0,1}/On/MMS
/Mixing/Matrix/LPF:{0,1}/Frequency/MMS
/Mixing/Matrix/LPF:{0,1}/Slope/MMS
/Mixing/Matrix/HPF:{0,1}/On/MMS
/Mixing/Matrix/HPF:{0,1}/Frequency/MMS
/Mixing/Matrix/HPF:{0,1}/Slope/MMS
/Mixing/Mix/LPF:{0,1}/On/MMS
/Mixing/Mix/LPF:{0,1}/Frequency/MMS
/Mixing/Mix/LPF:{0,1}/Slope/MMS
/Mixing/Mix/HPF:{0,1}/On/MMS
/Mixing/Mix/HPF:{0,1}/Frequency/MMS
/Mixing/Mix/HPF:{0,1}/Slope/MMS
/Mixing/Stereo/LPF:{0,1}/On/MMS
/Mixing/Stereo/LPF:{0,1}/Frequency/MMS
/Mixing/Stereo/LPF:{0,1}/Slope/MMS
/Mixing/Stereo/HPF:{0,1}/On/MMS
/Mixing/Stereo/HPF:{0,1}/Frequency/MMS
/Mixing/Stereo/HPF:{0,1}/Slope/MMS
/Mixing/InputChannel/PEQ:0/Bank:{0,1}/Attenuator/Gain/MMS
/Mixing/Mix/PEQ:0/Bank:{0,1}/Attenuator/Gain/MMS
/Mixing/Matrix/PEQ:0/Bank:{0,1}/Attenuator/Gain/MMS
/Mixing/Stereo/PEQ:0/Bank:{0,1}/Attenuator/Gain/MMS
/Mixing/InputChannel/PEQ:0/Bank:{0,1}/Band:{0..3}/Bypass/MMS
/Mixing/Matrix/PEQ:0/Bank:{0,1}/Band:{0..7}/Bypass/MMS
/Mixing/Mix/PEQ:0/Bank:{0,1}/Band:{0..7}/Bypass/MMS
/Mixing/Stereo/PEQ:0/Bank:{0,1}/Band:{0..7}/Bypass/MMS
/Mixing/InputChannel/PEQ:0/Bank:{0,1}/On/MMS
/Mixing/InputChannel/PEQ:0/Bank:{0,1}/Type/MMS
/Mixing/InputChannel/PEQ:0/Bank:{0,1}/LowShelving/On/MMS
/Mixing/InputChannel/PEQ:0/Bank:{0,1}/HighShelving/On/MMS
/Mixing/InputChannel/PEQ:0/Bank:{0,1}/Band:{0..3}/Frequency/MMS
/Mixing/InputChannel/PEQ:0/Bank:{0,1}/Band:{0..3}/Gain/MMS
/Mixing/InputChannel/PEQ:0/Bank:{0,1}/Band:{0..3}/Q/MMS
/Mixing/InputChannel/PEQ:0/Bank:{0,1}/LowShelving/Q/MMS
/Mixing/InputChannel/PEQ:0/Bank:{0,1}/HighShelving/Q/MMS
/Mixing/Mix/PEQ:0/Bank:{0,1}/On/MMS
/Mixing/Mix/PEQ:0/Bank:{0,1}/Type/MMS
/Mixing/Mix/PEQ:0/Bank:{0,1}/LowShelving/On/MMS
/Mixing/Mix/PEQ:0/Bank:{0,1}/HighShelving/On/MMS
/Mixing/Mix/PEQ:0/Bank:{0,1}/Band:{0..7}/Frequency/MMS
/Mixing/Mix/PEQ:0/Bank:{0,1}/Band:{0..7}/Gain/MMS
/Mixing/Mix/PEQ:0/Bank:{0,1}/Band:{0..7}/Q/MMS
/Mixing/Mix/PEQ:0/Bank:{0,1}/LowShelving/Q/MMS
/Mixing/Mix/PEQ:0/Bank:{0,1}/HighShelving/Q/MMS
/Mixing/Matrix/PEQ:0/Bank:{0,1}/On/MMS
/Mixing/Matrix/PEQ:0/Bank:{0,1}/Type/MMS
/Mixing/Matrix/PEQ:0/Bank:{0,1}/LowShelving/On/MMS
/Mixing/Matrix/PEQ:0/Bank:{0,1}/HighShelving/On/MMS
/Mixing/Matrix/PEQ:0/Bank:{0,1}/Band:{0..7}/Frequency/MMS
/Mixing/Matrix/PEQ:0/Bank:{0,1}/Band:{0..7}/Gain/MMS
/Mixing/Matrix/PEQ:0/Bank:{0,1}/Band:{0..7}/Q/MMS
/Mixing/Matrix/PEQ:0/Bank:{0,1}/LowShelving/Q/MMS
/Mixing/Matrix/PEQ:0/Bank:{0,1}/HighShelving/Q/MMS
/Mixing/Stereo/PEQ:0/Bank:{0,1}/On/MMS
/Mixing/Stereo/PEQ:0/Bank:{0,1}/Type/MMS
/Mixing/Stereo/PEQ:0/Bank:{0,1}/LowShelving/On/MMS
/Mixing/Stereo/PEQ:0/Bank:{0,1}/HighShelving/On/MMS
/Mixing/Stereo/PEQ:0/Bank:{0,1}/Band:{0..7}/Frequency/MMS
/Mixing/Stereo/PEQ:0/Bank:{0,1}/Band:{0..7}/Gain/MMS
/Mixing/Stereo/PEQ:0/Bank:{0,1}/Band:{0..7}/Q/MMS
/Mixing/Stereo/PEQ:0/Bank:{0,1}/LowShelving/Q/MMS
/Mixing/Stereo/PEQ:0/Bank:{0,1}/HighShelving/Q/MMS
/Mixing/InputChannel/ToMatrix:{0..11}/Level/MMS
/Mixing/InputChannel/ToMatrix:{0..11}/On/MMS
/Mixing/InputChannel/ToMatrix:{0..11}/Pre/MMS
/Mixing/InputChannel/ToMatrix:{0..10 even}/Pan/MMS
/Mixing/InputChannel/ToMatrix:{0..11}/FollowOn/MMS
/Mixing/InputChannel/ToMatrix:{0..11}/FollowFader/MMS
/Mixing/InputChannel/ToMatrix:{0..11}/FollowDCA/MMS
/Mixing/InputChannel/ToMix:{0..47}/Level/MMS
/Mixing/InputChannel/ToMix:{0..47}/On/MMS
/Mixing/InputChannel/ToMix:{0..47}/Pre/MMS
/Mixing/InputChannel/ToMix:{0..46 even}/Pan/MMS
/Mixing/InputChannel/ToMix:{0..47}/FollowOn/MMS
/Mixing/InputChannel/ToMix:{0..47}/FollowFader/MMS
/Mixing/InputChannel/ToMix:{0..47}/FollowDCA/MMS
/Mixing/Mix/ToMatrix:{0..11}/Level/MMS
/Mixing/Mix/ToMatrix:{0..11}/On/MMS
/Mixing/Mix/ToMatrix:{0..11}/Pre/MMS
/Mixing/Mix/ToMatrix:{0..10 even}/Pan/MMS
/Mixing/Stereo/ToMatrix:{0..11}/Level/MMS
/Mixing/Stereo/ToMatrix:{0..11}/On/MMS
/Mixing/Stereo/ToMatrix:{0..11}/Pre/MMS
/Mixing/Stereo/ToMatrix:{0..10 even}/Pan/MMS
/Mixing/InputChannel/DCA:0/Assign:{0..23}/MMS
/Mixing/Matrix/DCA:0/Assign:{0..23}/MMS
/Mixing/Mix/DCA:0/Assign:{0..23}/MMS
/Mixing/Stereo/DCA:0/Assign:{0..23}/MMS
/Mixing/InputChannel/MuteGroup:0/Assign:{0..11}/MMS
/Mixing/Matrix/MuteGroup:0/Assign:{0..11}/MMS
/Mixing/Mix/MuteGroup:0/Assign:{0..11}/MMS
/Mixing/Stereo/MuteGroup:0/Assign:{0..11}/MMS
/Mixing/InputChannel/Dynamics:{0,1}/Select/MMS
/Mixing/Matrix/Dynamics:0/Select/MMS
/Mixing/Mix/Dynamics:0/Select/MMS
/Mixing/Stereo/Dynamics:0/Select/MMS
/Mixing/InputChannel/Dynamics:{0,1}/Bank:{0,1}/On/MMS
/Mixing/InputChannel/Dynamics:{0,1}/Bank:{0,1}/Type/MMS
/Mixing/Matrix/Dynamics:0/Bank:{0,1}/On/MMS
/Mixing/Matrix/Dynamics:0/Bank:{0,1}/Type/MMS
/Mixing/Mix/Dynamics:0/Bank:{0,1}/On/MMS
/Mixing/Mix/Dynamics:0/Bank:{0,1}/Type/MMS
/Mixing/Stereo/Dynamics:0/Bank:{0,1}/On/MMS
/Mixing/Stereo/Dynamics:0/Bank:{0,1}/Type/MMS
/Mixing/InputChannel/Dynamics:{0,1}/KeyIn:{0,1}/SourceSelect/MMS
/Mixing/InputChannel/Dynamics:{0,1}/KeyIn:{0,1}/FilterType/MMS
/Mixing/InputChannel/Dynamics:{0,1}/KeyIn:{0,1}/FilterFrequency/MMS
/Mixing/InputChannel/Dynamics:{0,1}/KeyIn:{0,1}/FilterQ/MMS
/Mixing/Mix/Dynamics:0/KeyIn:{0,1}/SourceSelect/MMS
/Mixing/Mix/Dynamics:0/KeyIn:{0,1}/FilterType/MMS
/Mixing/Mix/Dynamics:0/KeyIn:{0,1}/FilterFrequency/MMS
/Mixing/Mix/Dynamics:0/KeyIn:{0,1}/FilterQ/MMS
/Mixing/Matrix/Dynamics:0/KeyIn:{0,1}/SourceSelect/MMS
/Mixing/Matrix/Dynamics:0/KeyIn:{0,1}/FilterType/MMS
/Mixing/Matrix/Dynamics:0/KeyIn:{0,1}/FilterFrequency/MMS
/Mixing/Matrix/Dynamics:0/KeyIn:{0,1}/FilterQ/MMS
/Mixing/Stereo/Dynamics:0/KeyIn:{0,1}/SourceSelect/MMS
/Mixing/Stereo/Dynamics:0/KeyIn:{0,1}/FilterType/MMS
/Mixing/Stereo/Dynamics:0/KeyIn:{0,1}/FilterFrequency/MMS
/Mixing/Stereo/Dynamics:0/KeyIn:{0,1}/FilterQ/MMS
/Mixing/MixingMode/Mode/MMS
/Mixing/InputChannel/Surround/Pan/LR/MMS
/Mixing/InputChannel/Surround/Pan/FR/MMS
/Mixing/InputChannel/Surround/Pan/Divergence/MMS
/Mixing/InputChannel/Surround/Pan/ToL/MMS
/Mixing/InputChannel/Surround/Pan/ToR/MMS
/Mixing/InputChannel/Surround/Pan/ToC/MMS
/Mixing/InputChannel/Surround/Pan/ToLFE/MMS
/Mixing/InputChannel/Surround/Pan/ToLs/MMS
/Mixing/InputChannel/Surround/Pan/ToRs/MMS
/Mixing/InputChannel/Surround/LFE/Level/MMS
/Mixing/Surround/DownMix:0/SurroundBus:{0..5}/ToL:0/MMS
/Mixing/Surround/DownMix:0/SurroundBus:{0..5}/ToR:0/MMS
/Mixing/Surround/DownMix:0/SurroundBus:{0..5}/Level:0/MMS
/Mixing/Surround/BusAssign/Assign:0/MMS
/Mixing/Surround/BusAssign:{0..5}/Assign:0/MMS
/VelmarRack/VelmarRack2/PlugIn:0/PluginName/MMS
/VelmarRack/VelmarRack2/PlugIn:0/SlotSize/MMS
/VelmarRack/VelmarRack2/PlugIn:0/ItemlNum/MMS
/VelmarRack/VelmarRack2/PlugIn:0/LR:{0,1}/LibraryName/MMS
/VelmarRack/VelmarRack2/PlugIn:0/LR:{0,1}/TempoAssign:0/MMS
/VelmarRack/VelmarRack2/PlugIn:0/LR:{0,1}/Bypass:0/MMS
/VelmarRack/VelmarRack2/PlugIn:0/LR:{0,1}/Parameter:{0..63}/Value:0/MMS
/Mixing/GEQRack2/Type:0/MMSDugan
/Mixing/DuganAutomixer/Channel/Group/MMS
/Mixing/DuganAutomixer/Channel/Bypass/MMS
/Mixing/DuganAutomixer/Channel/Override/MMS
/Mixing/DuganAutomixer/Channel/ChMode/MMS
/Mixing/DuganAutomixer/Channel/ChModePreset/MMS
/Mixing/DuganAutomixer/Channel/Weight/MMS
"""

DYNAMICS_TARGETS = """
/Mixing/InputChannel/Dynamics:{0,1}/Bank:{0,1}/Parameter:{0..5}/Value/MMS
/Mixing/Mix/Dynamics:0/Bank:{0,1}/Parameter:{0..5}/Value/MMS
/Mixing/Matrix/Dynamics:0/Bank:{0,1}/Parameter:{0..5}/Value/MMS
/Mixing/Stereo/Dynamics:0/Bank:{0,1}/Parameter:{0..5}/Value/MMS
"""
DYNAMICS_SOURCE_NAMES = ["Threshold", "Attack", "Release", "Ratio", "Knee", "Gain"]

PLUGIN = "/VelmarRack/VelmarRack2/PlugIn:0"
FX_GENERAL = [
    ("/FX/FX/Param:0/PluginName:0/MMS", PLUGIN + "/PluginName/MMSFx"),
    ("/FX/FX/Param:0/LibraryName:0/MMS", PLUGIN + "/LR:0/LibraryName/MMSFx"),
    ("/FX/FX/Param:0/SlotSize:0/MMS", PLUGIN + "/SlotSize/MMSFx"),
    ("/FX/FX/Param:0/TempoAssign:0/MMS", PLUGIN + "/LR:0/TempoAssign:0/MMSFx"),
    ("/FX/FX/Bypass:0/MMS", PLUGIN + "/LR:0/Bypass:0/MMSFx"),
]

# Per effect type: "v>p" pairs; MB is the mix balance, PN the type itself.
FX_VALUES = [
    ("Rev", "PN>0 0>1 1>2 2>3 3>5 4>6 5>9 6>10 7>7 8>8 MB>15"),
    ("RevHD", "0>1 2>2 4>3 5>9 6>10 MB>15"),
    ("EarlyRef", "0>0 1>1 2>2 3>3 4>4 5>5 6>7 7>8 8>9 9>10 MB>11"),
    ("GateRev", "0>0 1>1 2>2 3>3 4>4 5>5 6>7 7>8 8>9 9>10 MB>11"),
    ("MnDLY", "0>0 1>1 2>2 3>3 4>4 5>5 6>6 7>7 MB>8"),
    ("StDLY", "0>0 1>1 2>2 3>3 4>4 5>5 6>6 7>7 8>8 9>9 10>10 MB>11"),
    ("DLYLCR", "0>0 1>1 2>2 3>3 4>7 5>8 6>9 7>10 8>4 9>5 10>6 11>11 12>12 13>13 14>14 15>15 16>16 MB>17"),
    ("Echo", "0>0 1>1 2>2 3>3 4>4 5>5 7>8 8>9 9>10 10>11 11>12 12>13 13>14 14>15 15>16 MB>17"),
    ("Chorus", "0>0 1>1 2>2 3>3 4>5 5>6 6>7 MB>8"),
    ("Flange", "0>0 1>1 2>2 3>3 4>5 5>6 6>7 MB>8"),
    ("Sym", "0>0 1>1 2>2 3>4 4>5 5>6 MB>7"),
    ("DynaPhaser", "0>0 1>4 2>5 5>1 6>3 MB>6"),
    ("Phaser", "0>0 1>1 2>2 3>5 6>6 7>7 8>8 MB>9"),
    ("DuPitch", "0>0 1>1 2>2 3>3 4>4 5>5 6>6 7>7 8>8 9>9 10>10 11>11 12>13 13>14 14>15 15>16 MB>17"),
    ("Tremolo", "0>0 1>1 12>3 13>4 14>5 MB>6"),
    ("ATPan", "0>0 1>1 3>2 13>4 14>5 15>6 MB>7"),
    ("Rotary", "0>2 2>3 4>5 6>4 10>6 12>7 14>1 MB>8"),
    ("RingMod", "0>1 2>2 3>3 MB>7"),
    ("DynaFilter", "0>3 1>0 6>1 MB>7"),
    ("Distortion", "4>1 6>2 MB>5"),
    ("AmpSim", "0>2 1>1 4>3 MB>12"),
]

GEQ_TARGETS = """
/Mixing/GEQRack2/Type:0/MMS
/Mixing/GEQRack2/GEQLink/MMS
/Mixing/GEQRack2/GEQLRLink/MMS
/Mixing/GEQRack2/PEQLRLink/MMS
/Mixing/GEQRack2/AB:{0,1}/On/MMS
/Mixing/GEQRack2/AB:{0,1}/GEQ:0/Limit:0/MMS
/Mixing/GEQRack2/AB:{0,1}/GEQ:0/Band:{0..30}/Gain:0/MMS
/Mixing/GEQRack2/AB:{0,1}/NotchFilter:{0..3}/On/MMS
/Mixing/GEQRack2/AB:{0,1}/NotchFilter:{0..3}/Frequency/MMS
/Mixing/GEQRack2/AB:{0,1}/NotchFilter:{0..3}/Q/MMS
/Mixing/GEQRack2/AB:{0,1}/PEQ/Type/MMS
/Mixing/GEQRack2/AB:{0,1}/PEQ:0/Band:{0..7}/Bypass/MMS
/Mixing/GEQRack2/AB:{0,1}/PEQ:0/Band:{0..7}/Gain/MMS
/Mixing/GEQRack2/AB:{0,1}/PEQ:0/Band:{0..7}/Frequency/MMS
/Mixing/GEQRack2/AB:{0,1}/PEQ:0/Band:{0..7}/Q/MMS
/Mixing/GEQRack2/AB:{0,1}/PEQ:0/LowShelving:0/On:0/MMS
/Mixing/GEQRack2/AB:{0,1}/PEQ:0/LowShelving:0/Q:0/MMS
/Mixing/GEQRack2/AB:{0,1}/PEQ:0/HighShelving:0/On:0/MMS
/Mixing/GEQRack2/AB:{0,1}/PEQ:0/HighShelving:0/Q:0/MMS
/Mixing/GEQRack2/AB:{0,1}/PEQ:0/Attenuator:0/Gain:0/MMS
/Mixing/GEQRack2/AB:{0,1}/HPF:0/On:0/MMS
/Mixing/GEQRack2/AB:{0,1}/HPF:0/Frequency:0/MMS
/Mixing/GEQRack2/AB:{0,1}/HPF:0/Slope:0/MMS
/Mixing/GEQRack2/AB:{0,1}/LPF:0/On:0/MMS
/Mixing/GEQRack2/AB:{0,1}/LPF:0/Frequency:0/MMS
/Mixing/GEQRack2/AB:{0,1}/LPF:0/Slope:0/MMS
"""


def names(block):
    return [n for line in block.strip().splitlines() for n in expand(line.strip())]


def same_name_rows():
    return [(n, n) for n in names(SAME_NAME)]


def dynamics_rows():
    rows = []
    for target in names(DYNAMICS_TARGETS):
        head, _, tail = target.partition("/Parameter:")
        p = int(tail.split("/")[0])
        rows.append((target, "%s/RQ_Comp/%s/MMS" % (head, DYNAMICS_SOURCE_NAMES[p])))
    return rows


def fx_rows():
    rows = list(FX_GENERAL)
    for tag, pairs in FX_VALUES:
        for pair in pairs.split():
            v, p = pair.split(">")
            if v == "PN":
                target = "/FX/FX/Param:0/PluginName:0/MMS/" + tag
            elif v == "MB":
                target = "/FX/FX/MixBalance:0/MMS/" + tag
            else:
                target = "/FX/FX/Param:0/Bank:0/Value:%d/MMS/%s" % (int(v), tag)
            rows.append((target, "%s/LR:0/Parameter:%d/Value:0/MMSFx" % (PLUGIN, int(p))))
    return rows


def geq_rows():
    return [(n, n + "GEQ") for n in names(GEQ_TARGETS)]


def remap_rows():
    groups = [same_name_rows(), dynamics_rows(), fx_rows(), geq_rows()]
    for group, size in zip(groups, GROUP_SIZES):
        if len(group) != size:
            raise SystemExit("group of %d rows, expected %d" % (len(group), size))
    rows = [r for g in groups for r in g]
    targets = [r[0] for r in rows]
    if len(set(targets)) != len(targets):
        raise SystemExit("duplicate target names")
    return rows


def main():
    lines = []
    for target, source in remap_rows():
        if target == source:
            lines.append("    {%s, %s}," % (c_string(target), c_string(source)))
        else:
            lines.append("    {%s,\n     %s}," % (c_string(target), c_string(source)))
    rewrite_region(TARGET, "gen_remap.py", lines)


if __name__ == "__main__":
    main()
