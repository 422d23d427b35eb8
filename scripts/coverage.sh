#!/usr/bin/env bash
# Builds a coverage build in build-coverage/ (Debug, --coverage), runs the
# whole test suite there and prints line, function and branch coverage of
# src/ and platform/, in all and per folder. Installs gcovr when missing.
# Extra arguments go to ctest (e.g. -R mixer).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
QORA_WITH_COVERAGE=1 bash "$root/scripts/deps.sh"
dir="$root/build-coverage"
bash "$root/scripts/build.sh" "$dir" -DCMAKE_BUILD_TYPE=Debug -DQORA_BENCH=OFF \
  -DCMAKE_CXX_FLAGS=--coverage -DCMAKE_EXE_LINKER_FLAGS=--coverage -DCMAKE_SHARED_LINKER_FLAGS=--coverage
find "$dir" -name '*.gcda' -delete
export QT_QPA_PLATFORM=offscreen
(cd "$dir" && ctest -j2 --timeout 900 "$@" > "$dir/ctest.log" 2>&1) || { tail -20 "$dir/ctest.log"; exit 1; }

# The full report goes to a file of the build folder: gcovr replaces its
# output file, so it must never be pointed at a device such as /dev/null.
summary() {
  gcovr --root "$root" --object-directory "$dir" --exclude-unreachable-branches \
    --exclude-throw-branches "$@" --print-summary -o "$dir/gcovr-report.txt" 2>"$dir/gcovr.log" | sed 's/^/  /'
}
echo "src/ and platform/:"
summary --filter "$root/src/" --filter "$root/platform/"
for folder in src/link src/params src/convert src/support src/mixer src/host \
              platform/editor platform/utilities platform/plaxbridge platform/gui; do
  echo "$folder:"
  summary --filter "$root/$folder/"
done
