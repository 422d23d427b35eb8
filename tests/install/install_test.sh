#!/usr/bin/env bash
# Installs the build into a temporary prefix and converts the sample with the
# installed plaxbridge from an unrelated directory; checks that DESTDIR
# staging names the final prefix; then checks the Debian package's contents.
# Usage: install_test.sh BUILD_DIR SAMPLE
set -euo pipefail
build="$1"; sample="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "install test: $*" >&2; exit 1; }

prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
grep -qx "VirtualDeviceFilePath=$prefix/lib/qora/qora-editor" "$prefix/lib/qora/KX9.ini" \
  || fail "KX9.ini does not name the installed editor: $(cat "$prefix/lib/qora/KX9.ini")"
readelf -d "$prefix/lib/qora/plaxbridge" | grep -q 'RUNPATH.*\[\$ORIGIN\]' || fail "plaxbridge's RUNPATH is not \$ORIGIN"
grep -qx "Exec=$prefix/bin/plaxbridge-gui %f" "$prefix/share/applications/plaxbridge-gui.desktop" \
  || fail "the desktop entry does not start the installed window"
mkdir "$work/elsewhere" && cd "$work/elsewhere"
"$prefix/bin/plaxbridge" convert --progress=none "$sample" converted.KX9F > summary.txt \
  || fail "the installed plaxbridge failed (exit $?)"
[ -s converted.KX9F ] || fail "no converted file"
grep -q "scenes *3" summary.txt || fail "unexpected summary: $(cat summary.txt)"

DESTDIR="$work/stage" cmake --install "$build" --prefix /opt/qora >/dev/null
grep -qx "VirtualDeviceFilePath=/opt/qora/lib/qora/qora-editor" "$work/stage/opt/qora/lib/qora/KX9.ini" \
  || fail "with DESTDIR, KX9.ini does not name the final path"
[ "$(readlink "$work/stage/opt/qora/bin/plaxbridge-gui")" = ../lib/qora/plaxbridge-gui ] || fail "bad bin symlink"

if ! command -v dpkg-shlibdeps >/dev/null || ! command -v file >/dev/null; then
  echo "install test: no dpkg-shlibdeps or file (scripts/deps.sh installs them for the suite); package not checked"
  exit 77
fi
cpack -G DEB -B "$work/deb" --config "$build/CPackConfig.cmake" >/dev/null || fail "cpack failed"
deb="$(ls "$work"/deb/*.deb)"
contents="$(dpkg-deb -c "$deb")"
for path in ./usr/lib/qora/plaxbridge ./usr/lib/qora/libqora.so ./usr/lib/qora/qora-editor \
            ./usr/lib/qora/KX9/Descriptor/initialLoadData.KX9F ./usr/lib/qora/KX9/Descriptor/parameters.txt \
            "./usr/bin/plaxbridge-gui -> ../lib/qora/plaxbridge-gui" ./usr/share/applications/plaxbridge-gui.desktop; do
  grep -qF "$path" <<< "$contents" || fail "the package lacks $path"
done
dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/lib/qora/KX9.ini | grep -qx "VirtualDeviceFilePath=/usr/lib/qora/qora-editor" \
  || fail "the package's KX9.ini does not name /usr/lib/qora/qora-editor"
dpkg-deb -f "$deb" Depends | grep -q libqt5widgets || fail "the package does not depend on Qt Widgets"
echo "install test: installed, converted, staged and packaged"
