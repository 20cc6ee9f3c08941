#!/usr/bin/env bash
# Pictures of tlins32a.exe for the README: the Windows program, cross-built for 64-bit Windows,
# runs under Wine on a virtual X display, unattended on the sample install disk with every
# question at its default, and saves a picture of the screen as each dialog and message box is
# answered. A few of them become docs/screenshots/*.png.
#
# Usage: scripts/screenshots.sh   (all pictures stay in build/screenshots/pictures)
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
echo "building tlins32a.exe in build/win64 ..." >&2
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$(nproc)" --target tlins32a >/dev/null

work=$PWD/build/screenshots
rm -rf "$work"
mkdir -p "$work/pictures" docs/screenshots
cp -a examples/disk "$work/disk"
cp build/win64/bin/tlins32a.exe "$work/disk/TLINS32A.EXE"
: >"$work/answers.ini"
winpath() { printf 'Z:%s' "${1//\//\\}"; }

echo "running it under Wine ..." >&2
TL_WINEPREFIX="$work/prefix" scripts/wine-display-run.sh "$work/disk/TLINS32A.EXE" \
    --answers "$(winpath "$work/answers.ini")" --transcript "$(winpath "$work/run.jsonl")" \
    --screenshots "$(winpath "$work/pictures")" >"$work/wine.log" 2>&1

# The first picture of each: NN-NAME.bmp -> docs/screenshots/TITLE.png
keep() {
    local name=$1 title=$2 picture
    picture=$(find "$work/pictures" -name "*-$name.bmp" | sort | head -n 1)
    [ -n "$picture" ] || { echo "screenshots: no picture of $name" >&2; exit 1; }
    python3 scripts/bmp-to-png.py "$picture" "docs/screenshots/$title.png"
    echo "docs/screenshots/$title.png  <- $(basename "$picture")"
}
keep message main-window
keep CHOICE language-dialog
keep SELECTDRV model-dialog
keep COPYING progress-display
keep FONT font-dialog
