#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time.
# Usage: fuzz.sh [seconds per target]   (default 20)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-20}"
QORA_WITH_CLANG=1 bash "$root/scripts/deps.sh"
dir="$root/build-fuzz"
if [ ! -f "$dir/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$dir" -G Ninja -DQORA_FUZZ=ON -DQORA_BENCH=OFF
fi
cmake --build "$dir" --target fuzz_targets -- -j"$(nproc)"

export LSAN_OPTIONS="suppressions=$root/fuzz/lsan-qt.supp"
status=0
for target in "$dir"/fuzz/fuzz_*; do
  [ -f "$target" ] && [ -x "$target" ] || continue
  name="$(basename "$target")"; name="${name#fuzz_}"
  work="$(mktemp -d)"
  cp "$root/fuzz/corpus/$name/"* "$work/" 2>/dev/null || true
  # Regression inputs of this target run first, as plain inputs.
  for crash in "$root"/fuzz/regressions/"$name"_*; do
    [ -f "$crash" ] || continue
    "$target" "$crash" >/dev/null 2>&1 || { echo "fuzz $name: regression $(basename "$crash") fails"; status=1; }
  done
  if out="$("$target" -max_total_time="$seconds" -rss_limit_mb=2048 -artifact_prefix="$work/" "$work" 2>&1)"; then
    echo "fuzz $name: $(echo "$out" | grep -Eo '^#[0-9]+' | tail -1 | tr -d '#') executions, no findings"
  else
    echo "$out" | tail -30
    echo "fuzz $name: FAILED (artifacts in $work)"
    status=1
  fi
done
exit $status
