#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing.
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config qtbase5-dev qtbase5-dev-tools libgtest-dev libbenchmark-dev rapidjson-dev python3)
if [ "${QORA_WITH_CLANG:-0}" = 1 ]; then
  packages+=(clang libclang-rt-14-dev)
fi
if [ "${QORA_WITH_COVERAGE:-0}" = 1 ]; then
  packages+=(gcovr)
fi
# The documentation's pictures of the show and diff pages (scripts/docs-images.sh):
# a headless browser and an HTML checker. The test suite never needs them.
if [ "${QORA_WITH_DOCS:-0}" = 1 ]; then
  packages+=(chromium python3-html5lib)
fi
# cpack -G DEB works out the package's dependencies with these.
if [ "${QORA_WITH_PACKAGING:-0}" = 1 ]; then
  packages+=(dpkg-dev file)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo_cmd apt-get update -qq
  $sudo_cmd apt-get install -y --no-install-recommends "${missing[@]}"
fi
