#!/usr/bin/env bash
# Installs what is missing, builds, and runs the demo.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/deps.sh"
bash "$root/scripts/build.sh" "$root/build"
export QT_QPA_PLATFORM=offscreen
if [ -x "$root/build/bin/plaxbridge" ] && [ -f "$root/examples/demo.sh" ]; then
  exec bash "$root/examples/demo.sh" "$root/build/bin"
fi
# Until the host application lands: show what the plug-in module exports.
nm -DC --defined-only "$root/build/bin/libqora.so" | grep -i qora
