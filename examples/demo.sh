#!/usr/bin/env bash
# Converts the shipped RQ10 sample setup into a KX9 console file with
# plaxbridge, then reads a few converted values back through plaxbridge shell.
# Usage: demo.sh BIN_DIR   (the directory holding plaxbridge and libqora.so)
set -euo pipefail

if [ $# -ne 1 ] || [ ! -x "$1/plaxbridge" ]; then
  echo "usage: $0 BIN_DIR   (BIN_DIR must contain the built plaxbridge)" >&2
  exit 2
fi
bin="$(cd "$1" && pwd)"
here="$(cd "$(dirname "$0")" && pwd)"
source_setup="$here/rq10-festival.json"
out_dir="$(dirname "$bin")/demo"
output="$out_dir/festival.KX9F"
report="$out_dir/festival-report.html"
mkdir -p "$out_dir"

echo "== Converting $source_setup"
"$bin/plaxbridge" convert --report "$report" "$source_setup" "$output"
echo "What became of every value, scene by scene, with the racks drawn: $report"

echo
echo "== Reading $output back through plaxbridge shell"
calls=(
  "LoadData \"$output\""
  "GetSceneList"
  "GetTitle 200"
  "GetDateTime 250"
  "# input channel 0 (Kick) has a gate: slot 2 holds its range"
  "GetValue /Mixing/InputChannel/Dynamics:0/Bank:0/Type/MMS 0 0"
  "GetValue /Mixing/InputChannel/Dynamics:0/Bank:0/Parameter:2/Value/MMS 0 0"
  "# direct-out point 210 becomes 30, mix to-stereo point 210 becomes 110"
  "GetValue /Mixing/InputChannel/DirectOut/Point/MMS 0 0"
  "GetValue /Mixing/Mix/ToStereo/Point/MMS 0 0"
  "# FX unit 1 is a chorus (type 11); its first value went through table T4"
  "GetValue /FX/FX/Param:0/PluginName:0/MMS 1 0"
  "GetValue /FX/FX/Param:0/Bank:0/Value:0/MMS/Chorus 1 0"
  "GetNameParameterList 4"
  "# scene 2.00 has its own fader levels"
  "SetCurrentSceneMemory 200"
  "GetValue /Mixing/InputChannel/Fader/Level/MMS 18 0"
)
results="$(printf '%s\n' "${calls[@]}" | "$bin/plaxbridge" shell)"

# The shell answers one line per call; comments get none.
i=0
mapfile -t lines <<< "$results"
for call in "${calls[@]}"; do
  if [[ "$call" == \#* ]]; then
    echo "  $call"
  else
    printf '  %-74s %s\n' "$call" "${lines[$i]}"
    i=$((i + 1))
  fi
done
echo
echo "Try it yourself:  $bin/plaxbridge shell     (one IMixer call per line; --help lists them)"
