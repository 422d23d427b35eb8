#!/usr/bin/env python3
"""Makes a larger RQ10 show from a setup, for benchmarks and tests.

    make_show.py [--scenes N] [--vary] [--hazards] SETUP OUT

The show has N scenes (default: as many as SETUP), cycling through SETUP's
scenes, numbered 1.00, 2.00, ... and titled after the scene they copy.

--vary     gives every scene its own input faders, pans and sends, so that a
           scene holds many values that differ from the console's defaults.
--hazards  adds what a write path must survive: values the KX9 refuses inside
           channel blocks (an input icon and a mix key-in source that the
           KX9's tables lack), and effect units that change places from one
           scene to the next, with a tremolo whose rule adds a value read back
           from the KX9 (units 0 and 1 swap between a reverb and a tremolo).
"""

import argparse
import json
import sys

INPUTS = 48   # the input channels --vary fills
HAZARD_ICON_CHANNEL = 5
HAZARD_ICON = 60          # the KX9's icon table ends at 55
HAZARD_KEYIN_MIX = 3
HAZARD_KEYIN_SOURCE = 1   # mixes know only source 0
REVERB, TREMOLO, EMPTY = 0, 17, 29
FX_TYPE = "/VelmarRack/VelmarRack2/PlugIn:0/PluginName/MMSFx"
FX_VALUE = "/VelmarRack/VelmarRack2/PlugIn:0/LR:0/Parameter:%d/Value:0/MMSFx"


def varied_values(k):
    values = {
        "/Mixing/InputChannel/Fader/Level/MMS": [-((k * 37 + c * 11) % 900) for c in range(INPUTS)],
        "/Mixing/InputChannel/ToStereo/Pan/MMS": [((k + c) % 127) - 63 for c in range(INPUTS)],
    }
    for mix in range(16):
        values["/Mixing/InputChannel/ToMix:%d/Level/MMS" % mix] = [
            -((k * 13 + c * 7 + mix * 29) % 1200) for c in range(INPUTS)]
        values["/Mixing/InputChannel/ToMix:%d/On/MMS" % mix] = [(k + c + mix) % 2 for c in range(INPUTS)]
    return values


def hazard_values(k):
    # Even scenes: reverb on unit 0 (racks 0-1), tremolo on unit 1 (rack 2);
    # odd scenes: the tremolo on unit 0 (rack 0), where the reverb was.
    even = k % 2 == 0
    types = {"0": REVERB if even else TREMOLO, "1": TREMOLO if even else EMPTY, "2-15": EMPTY}
    return {
        FX_TYPE: types,
        FX_VALUE % 1: {"0-1": 110},   # tremolo rate: the rule adds the KX9's own value
        FX_VALUE % 3: {"0": 132},      # reverb value 2 (131 on the KX9)
        "/Mixing/InputChannel/Label/Icon/MMS": {str(HAZARD_ICON_CHANNEL): HAZARD_ICON},
        "/Mixing/Mix/Dynamics:0/KeyIn:0/SourceSelect/MMS": {str(HAZARD_KEYIN_MIX): HAZARD_KEYIN_SOURCE},
    }


def make_show(setup, scenes, vary, hazards):
    base = setup["scenes"]
    show = dict(setup)
    show["scenes"] = []
    for k in range(scenes):
        scene = json.loads(json.dumps(base[k % len(base)]))
        scene["number"] = 100 * (k + 1)
        if scenes > len(base):
            scene["title"] = "%s %d" % (scene.get("title", "Scene"), k + 1)
        values = scene.setdefault("values", {})
        if vary:
            values.update(varied_values(k))
        if hazards:
            values.update(hazard_values(k))
        show["scenes"].append(scene)
    return show


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--scenes", type=int, default=0)
    parser.add_argument("--vary", action="store_true")
    parser.add_argument("--hazards", action="store_true")
    parser.add_argument("setup")
    parser.add_argument("out")
    args = parser.parse_args()
    with open(args.setup, encoding="utf-8") as f:
        setup = json.load(f)
    scenes = args.scenes or len(setup["scenes"])
    if not 1 <= scenes <= 999:
        sys.exit("make_show.py: --scenes must be 1..999")
    show = make_show(setup, scenes, args.vary, args.hazards)
    with open(args.out, "w", encoding="utf-8") as f:
        json.dump(show, f, indent=1)
        f.write("\n")


if __name__ == "__main__":
    main()
