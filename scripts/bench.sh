#!/usr/bin/env bash
# Builds (if needed) and runs the benchmark harnesses: qora_bench with the
# batched and strict wire modes and the 1 ms poll side by side, then the
# codec alone. Extra arguments go to qora_bench (e.g. --runs 9, or
# --baseline OTHER_BUILD/bin to measure an older build's conversion too).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/deps.sh"
bash "$root/scripts/build.sh" "$root/build"
export QT_QPA_PLATFORM=offscreen
"$root/build/bench/qora_bench" --modes batched,strict,polling "$@"
"$root/build/bench/qora_codec_bench"
