#!/usr/bin/env bash
# Times plaxbridge show and diff on shows made from the sample:
#   show of one scene of a 3-scene file          (goal: 2 s)
#   diff of two 3-scene files                    (goal: 2 s)
#   diff of two 100-scene files                  (goal: 60 s)
# The two files of a pair differ: the second is made with --vary, so every
# scene differs in faders, pans and sends. Usage: console_view.sh [BUILD_BIN]
# (default build/bin); RUNS=N repeats each timing (default 3, median shown).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bin="${1:-$root/build/bin}"
runs="${RUNS:-3}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen

make() {   # make NAME SCENES [--vary]
  python3 "$root/tools/make_show.py" --scenes "$2" ${3:-} "$root/examples/rq10-festival.json" "$work/$1.json"
  "$bin/plaxbridge" convert --progress=none "$work/$1.json" "$work/$1.KX9F" >/dev/null
}

# Median wall time of RUNS runs of the command, in seconds; the exit
# statuses 0 and 1 (diff: equal, different) count as success.
timed() {
  local times=()
  for _ in $(seq "$runs"); do
    local start end status=0
    start=$(date +%s.%N)
    "$@" >/dev/null || status=$?
    end=$(date +%s.%N)
    [ "$status" -le 1 ] || { echo "failed ($status): $*" >&2; exit 1; }
    times+=("$(echo "$end - $start" | bc)")
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p"
}

report() {   # report CASE SECONDS GOAL
  local met=no
  [ "$(echo "$2 <= $3" | bc)" = 1 ] && met=yes
  printf '%-38s %8.2f s   goal %4s s   met: %s\n' "$1" "$2" "$3" "$met"
}

make three 3
make three-varied 3 --vary
make hundred 100
make hundred-varied 100 --vary

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
report "show, one scene of 3" "$(timed "$bin/plaxbridge" show "$work/three.KX9F" --scene 2)" 2
report "show, one scene of 100" "$(timed "$bin/plaxbridge" show "$work/hundred.KX9F" --scene 50)" 2
report "diff, two 3-scene files" "$(timed "$bin/plaxbridge" diff "$work/three.KX9F" "$work/three-varied.KX9F")" 2
RUNS=1 report "diff, two 100-scene files (one run)" \
  "$(runs=1 timed "$bin/plaxbridge" diff "$work/hundred.KX9F" "$work/hundred-varied.KX9F")" 60
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
"$bin/plaxbridge" -v diff "$work/three.KX9F" "$work/three-varied.KX9F" 2>&1 >/dev/null \
  | sed -n 's/^\[editor command\] //p' | sort | uniq -c | sort -rn \
  | awk 'BEGIN { print "editor commands of the 3-scene diff:" } { print "  " $0 }'
