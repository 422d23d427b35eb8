#!/usr/bin/env bash
# Measures what a conversion does when its editor dies, stops or hangs up:
# a 30-scene setup (made from the sample) is converted with
# `plaxbridge convert --progress=json`; at a random moment after the first
# scene has begun the editor is sent SIGKILL, SIGTERM or (run with
# --close-on-usr1) SIGUSR1, on which it closes its connection. For each try
# it records the time from the signal to plaxbridge's exit, its exit status,
# the cause it names, whether any file was written and whether an editor is
# left. Then SIGSTOP with the default time-outs, and Destroy after the
# editor's death (qora_destroy_bench).
#
#   bash bench/editor_death.sh [BUILD_DIR] [TRIES] [STOP_TRIES]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
tries="${2:-20}"
stopTries="${3:-3}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

python3 - "$root/examples/rq10-festival.json" "$work/thirty.json" <<'PY'
import copy, json, sys
setup = json.load(open(sys.argv[1]))
scenes = setup["scenes"]
setup["scenes"] = [dict(copy.deepcopy(scenes[i % len(scenes)]), number=100 * (i + 1), title="Scene %d" % (i + 1))
                   for i in range(30)]
json.dump(setup, open(sys.argv[2], "w"))
PY

# One try: signal, the delay after the first scene began, and extra
# environment. Prints "ms status cause files left".
try_once() {
  local signal="$1" delay="$2"; shift 2
  local out="$work/out" err="$work/err.txt"
  rm -rf "$out"; mkdir "$out"
  env "$@" "$build/bin/plaxbridge" convert --progress=json "$work/thirty.json" "$out/thirty.KX9F" 2>"$err" >/dev/null &
  local host=$!
  until grep -q '"sceneBegin"' "$err" 2>/dev/null; do sleep 0.02; done
  sleep "$delay"
  local editor; editor="$(pgrep -P "$host" || true)"
  local start=$EPOCHREALTIME
  kill -s "$signal" "$editor"
  local status=0; wait "$host" || status=$?
  local end=$EPOCHREALTIME
  local ms; ms=$(echo "($end - $start) * 1000" | bc -l)
  local cause; cause="$(grep -o '"message":"the KX9 editor [^;]*' "$err" | sed 's/.*the KX9 editor //' || true)"
  local files; files=$(find "$out" -type f | wc -l)
  local left=no; kill -0 "$editor" 2>/dev/null && left=yes
  printf '%.0f %s "%s" %s %s\n' "$ms" "$status" "$cause" "$files" "$left"
}

summarise() {
  sort -n | awk -v label="$1" '{ ms[NR] = $1; line[NR] = $0 }
    END { printf "%s: %d tries, median %d ms, largest %d ms\n", label, NR, ms[int((NR + 1) / 2)], ms[NR] }'
}

for row in "KILL" "TERM" "USR1 QORA_EDITOR_OPTIONS=--close-on-usr1"; do
  read -r signal extra <<<"$row"
  label="SIG$signal"; [ "$signal" = USR1 ] && label="editor closes its socket"
  echo "== $label: time from the signal to plaxbridge's exit (ms), status, cause, files, editor left"
  results="$work/$signal.txt"; : >"$results"
  for i in $(seq "$tries"); do
    delay=$(awk -v seed="$RANDOM" 'BEGIN { srand(seed); printf "%.2f", rand() * 8 }')
    line="$(try_once "$signal" "$delay" ${extra:+"$extra"})"
    echo "  try $i, ${delay} s into the conversion: $line"
    echo "$line" >>"$results"
  done
  summarise "$label" <"$results"
done

echo "== SIGSTOP with the default time-outs (3 s / 30 s)"
results="$work/STOP.txt"; : >"$results"
for i in $(seq "$stopTries"); do
  delay=$(awk -v seed="$RANDOM" 'BEGIN { srand(seed); printf "%.2f", rand() * 8 }')
  line="$(try_once STOP "$delay")"
  echo "  try $i, ${delay} s into the conversion: $line"
  echo "$line" >>"$results"
done
summarise "SIGSTOP" <"$results"

echo "== Destroy after the editor's death"
"$build/bench/qora_destroy_bench" --runs "$tries" 2>/dev/null
