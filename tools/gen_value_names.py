#!/usr/bin/env python3
"""Generates the value-name bindings of src/params/ValueNameTables.cpp.

Each line binds every name its braces expand to ({a,b} -> each listed
value, leftmost brace outermost) to one value-name table. The table
contents themselves are written by hand in the .cpp.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from gen_common import c_string, expand, rewrite_region  # noqa: E402

TARGET = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "params", "ValueNameTables.cpp")
TOTAL = 109

# (table, name pattern)
BINDINGS = [
    (0, "/Mixing/{InputChannel,Mix,Matrix,Stereo,DCA}/Label/Icon/MMS"),
    (1, "/Mixing/{InputChannel,Mix,Matrix,Stereo,DCA}/Label/Color/MMS"),
    (2, "/Mixing/InputChannel/Dynamics:{0,1}/KeyIn:{0,1}/FilterType/MMS"),
    (2, "/Mixing/{Mix,Matrix,Stereo}/Dynamics:0/KeyIn:{0,1}/FilterType/MMS"),
    (2, "/Mixing/{Mix,Matrix,Stereo}/Dynamics:0/KeyIn:{0,1}/FilterType/OnOff/MMS"),
    (3, "/Mixing/InputChannel/Dynamics:{0,1}/Bank:{0,1}/Type/MMS"),
    (3, "/Mixing/{Matrix,Mix,Stereo}/Dynamics:0/Bank:{0,1}/Type/MMS"),
    (4, "/Mixing/{InputChannel,Matrix,Mix,Stereo}/PEQ:0/Bank:{0,1}/Type/MMS"),
    (5, "/Mixing/InputChannel/Dynamics:{0,1}/KeyIn:{0,1}/SourceSelect/MMS"),
    (6, "/Mixing/{Matrix,Mix,Stereo}/Dynamics:0/KeyIn:{0,1}/SourceSelect/MMS"),
    (7, "/Mixing/InputChannel/ToStereo/PanMode/MMS"),
    (7, "/Mixing/Mix/ToStereo/PanMode/MMS"),
    (8, "/Mixing/Mix/BusType/MMS"),
    (9, "/Mixing/InputChannel/Signal/StereoInputType/MMS"),
    (10, "/Mixing/InputChannel/ToStereo:0/PanType/MMS"),
    (10, "/Mixing/Mix/ToStereo/PanType/MMS"),
    (11, "/Mixing/InputChannel/Dynamics:{0,1}/Bank:{0,1}/{RQ_Comp,Classic_Comp,Expander}/Knee/MMS"),
    (11, "/Mixing/{Mix,Matrix,Stereo}/Dynamics:0/Bank:{0,1}/{RQ_Comp,Classic_Comp,Expander}/Knee/MMS"),
    (12, "/Mixing/InputChannel/Dynamics:{0,1}/Bank:{0,1}/DeEsser/Type/MMS"),
    (12, "/Mixing/{Mix,Matrix,Stereo}/Dynamics:0/Bank:{0,1}/DeEsser/Type/MMS"),
    (13, "/FX/FX/Param:0/PluginName:0/MMS"),
    (14, "/VelmarRack/VelmarRack2/PlugIn:0/PluginName/MMS"),
    (15, "/Mixing/GEQRack2/Type:0/MMS"),
    (15, "/Mixing/GEQRack2/Type:0/MMSDugan"),
    (15, "/Mixing/GEQRack2/Type:0/MMSGEQ"),
    (16, "/Mixing/GEQRack2/AB:{0,1}/PEQ/Type/MMS"),
    (17, "/Mixing/GEQRack2/AB:{0,1}/GEQ:0/Limit:0/MMS"),
]


def bindings():
    rows = [(name, table) for table, pattern in BINDINGS for name in expand(pattern)]
    names = [r[0] for r in rows]
    if len(set(names)) != len(names):
        raise SystemExit("duplicate binding names")
    if len(rows) != TOTAL:
        raise SystemExit("%d bindings, expected %d" % (len(rows), TOTAL))
    return rows


def main():
    lines = ["    {%s, %d}," % (c_string(n), t) for n, t in bindings()]
    rewrite_region(TARGET, "gen_value_names.py", lines)


if __name__ == "__main__":
    main()
