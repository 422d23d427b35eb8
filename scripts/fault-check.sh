#!/usr/bin/env bash
# Plants deliberate faults, one at a time, in a scratch copy of the sources
# (a git worktree of HEAD in build-faults/src), builds it and runs the whole
# test suite there. Every fault must make the suite fail; the script prints
# the tests that caught each one and exits 1 when a fault went unnoticed.
#
#   scripts/fault-check.sh            every fault
#   scripts/fault-check.sh 3 5        faults 3 and 5
#   scripts/fault-check.sh --list     the faults
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

# name | file | perl substitution (applied to the whole file)
faults=(
  "off-by-one in a channel block's range|src/link/MainApplication.cpp|s/\{\"\/Mixing\/InputChannel:\", 119\}/{\"\/Mixing\/InputChannel:\", 118}/"
  "a wrong value in a rule's value table|src/convert/ValueTableData.cpp|s/\{63, 50\}/{63, 51}/"
  "a scene store that does not send the pending writes first|src/link/MainApplication.cpp|s/(bool MainApplication::SetSceneStore\(.*?\{\n)    beforeMemoryChange\(\);/\$1    readCache.clear();/s"
  "a start-up that does not wait for the editor's memory|src/link/MainApplication.cpp|s/(bool MainApplication::waitForMmsReadied\(\)\n\{\n    return )waitForFlag\([^;]*\);/\$1mmsReadied();/"
  "scene numbers with one decimal|src/mixer/SceneNumber.cpp|s/'f', 2\)/'f', 1)/"
  "a framing that forgets the unfinished tail|src/link/PacketParser.cpp|s/        pending.insert\(key, tail\);\n//"
  "effect-type variants without the type table|src/params/ValueNameTables.cpp|s/return boundRow\(fxType, 0\);/return -1;/"
)

if [ "${1:-}" = "--list" ]; then
  for i in "${!faults[@]}"; do
    echo "$((i + 1)): ${faults[$i]%%|*}"
  done
  exit 0
fi
selected=("$@")
if [ ${#selected[@]} -eq 0 ]; then
  for i in "${!faults[@]}"; do selected+=("$((i + 1))"); done
fi

bash "$root/scripts/deps.sh"
work="$root/build-faults"
tree="$work/src"
build="$work/build"
mkdir -p "$work"
if [ ! -d "$tree/.git" ] && [ ! -f "$tree/.git" ]; then
  git -C "$root" worktree add --detach "$tree" HEAD >/dev/null
fi
git -C "$tree" checkout --detach -q "$(git -C "$root" rev-parse HEAD)"
export QT_QPA_PLATFORM=offscreen

missed=0
for n in "${selected[@]}"; do
  IFS='|' read -r name file expression <<< "${faults[$((n - 1))]}"
  git -C "$tree" checkout -q -- .
  before="$(md5sum "$tree/$file")"
  perl -0pi -e "$expression" "$tree/$file"
  if [ "$(md5sum "$tree/$file")" = "$before" ]; then
    echo "fault $n ($name): the substitution matched nothing in $file"
    missed=1
    continue
  fi
  bash "$tree/scripts/build.sh" "$build" -DQORA_BENCH=OFF > "$work/build-$n.log" 2>&1 || {
    echo "fault $n ($name): does not build (see $work/build-$n.log)"
    continue
  }
  if (cd "$build" && ctest -j2 --timeout 900 > "$work/ctest-$n.log" 2>&1); then
    echo "fault $n ($name): NOT CAUGHT"
    missed=1
  else
    caught="$(sed -n 's/^[[:space:]]*[0-9]* - \([^ ]*\) (.*/\1/p' "$work/ctest-$n.log" | tr '\n' ' ')"
    echo "fault $n ($name): caught by $caught"
  fi
done
git -C "$tree" checkout -q -- .
exit $missed
