#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite: the normal
# build, the same suite under AddressSanitizer + UndefinedBehaviorSanitizer,
# and every fuzz target for a short bounded time.
# QORA_QUICK=1 runs the normal build's suite only.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
QORA_WITH_CLANG=1 QORA_WITH_PACKAGING=1 bash "$root/scripts/deps.sh"
export QT_QPA_PLATFORM=offscreen

bash "$root/scripts/build.sh" "$root/build"
(cd "$root/build" && ctest --output-on-failure -j2 --timeout 900)

if [ "${QORA_QUICK:-0}" = 1 ]; then
  exit 0
fi

echo "== the suite again under AddressSanitizer + UndefinedBehaviorSanitizer"
bash "$root/scripts/build.sh" "$root/build-asan" -DQORA_SANITIZE=ON -DQORA_BENCH=OFF
(
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:halt_on_error=1"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  export LSAN_OPTIONS="suppressions=$root/fuzz/lsan-qt.supp"
  cd "$root/build-asan" && ctest --output-on-failure -j2 --timeout 1800
)

echo "== fuzz targets"
bash "$root/scripts/fuzz.sh" "${QORA_FUZZ_SECONDS:-20}"
