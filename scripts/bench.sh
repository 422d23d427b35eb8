#!/usr/bin/env bash
# Builds (if needed) and runs the benchmark harness, both waits side by side.
# Extra arguments go to qora_bench (e.g. --runs 9).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/deps.sh"
bash "$root/scripts/build.sh" "$root/build"
export QT_QPA_PLATFORM=offscreen
exec "$root/build/bin/qora_bench" --both --sample "$root/examples/rq10-festival.json" "$@"
