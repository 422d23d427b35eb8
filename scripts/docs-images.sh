#!/usr/bin/env bash
# Makes the documentation's pictures of `plaxbridge show`, `plaxbridge diff`
# and the conversion report: converts the sample with an HTML report, writes a
# show page of scene 2.00 and the diff page of the sample against a copy
# changed through the shell, checks the pages with html5lib (strict) and
# renders them with headless Chromium into docs/images/.
# Installs chromium and python3-html5lib first (QORA_WITH_DOCS=1).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
QORA_WITH_DOCS=1 bash "$root/scripts/deps.sh"
bash "$root/scripts/build.sh" "$root/build"
bin="$root/build/bin"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen

"$bin/plaxbridge" convert --progress=none --report "$work/report.html" "$root/examples/rq10-festival.json" \
  "$work/festival.KX9F" >/dev/null
"$bin/plaxbridge" show "$work/festival.KX9F" --scene 2 --html "$work/show.html"

# The copy: input 4's fader and input 1's name changed in scene 2.00; the
# scene's information (storing gives it the console's own) and the current
# memory's names put back. Shell results are JSON, whose strings the shell
# reads as quoted arguments.
info="$(printf 'LoadData %s\nGetTitle 200\nGetComment 200\nGetDateTime 200\n' "$work/festival.KX9F" \
        | "$bin/plaxbridge" shell | sed -n '2,4s/^= //p')"
title="$(sed -n 1p <<< "$info")"
comment="$(sed -n 2p <<< "$info")"
date="$(sed -n 3p <<< "$info" | tr -d '[]' | tr ',' ' ')"
names="$( (echo "LoadData $work/festival.KX9F"; for list in 0 1 2 3 4 5; do echo "GetNameParameterList $list"; done) \
         | "$bin/plaxbridge" shell | sed -n 's/^= \[\(.*\)\]$/SetNameParameterList \1/p' | sed 's/","/" "/g')"
"$bin/plaxbridge" shell >/dev/null <<SHELL
LoadData $work/festival.KX9F
SetCurrentSceneMemory 200
SetValue /Mixing/InputChannel/Fader/Level/MMS 3 -1234 0
SetNameParameterList /Mixing/InputChannel/Label:0/Name:0/MMS "Lead Vox"
StoreCurrentSceneMemory 200
SetTitle $title 200
SetComment $comment 200
SetDateTime $date 200
$names
SaveData $work changed.KX9F
SHELL
status=0
"$bin/plaxbridge" diff "$work/festival.KX9F" "$work/changed.KX9F" --html "$work/diff.html" || status=$?
[ "$status" = 1 ] || { echo "docs-images: diff ended with $status, not 1" >&2; exit 1; }

for page in show diff report; do
  /usr/bin/python3 -c 'import html5lib, sys; html5lib.HTMLParser(strict=True).parse(open(sys.argv[1], "rb"))' \
    "$work/$page.html"
  echo "docs-images: $page.html is valid HTML (html5lib, strict)"
done
render() {   # render PAGE WIDTH HEIGHT
  chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --window-size="$2,$3" \
    --screenshot="$root/docs/images/console-$1.png" "file://$work/$1.html" 2>/dev/null
}
render show 1400 1900
render diff 1100 560
render report 1400 2200   # down to the first scene's input strips
echo "docs-images: docs/images/console-show.png, console-diff.png and console-report.png written"
