#!/usr/bin/env bash
# The main job: installs the sample install disk (examples/disk) on a fresh simulated Windows 95
# PC and shows what that changed. At a terminal the installer asks its questions there;
# without one (or with --unattended) every question takes its default answer.
#
# Usage: scripts/demo.sh [--unattended] [--answers FILE]
#   --answers FILE   answers for the installer's questions (see README: Using the host build)
#
# The PC stays in build/demo/pc (before the run: build/demo/fresh), with the installer's
# transcript in build/demo/run.jsonl.
set -euo pipefail
cd "$(dirname "$0")/.."

unattended=0
answers=()
while [ $# -gt 0 ]; do
    case $1 in
    --unattended) unattended=1 ;;
    --answers)
        [ $# -ge 2 ] || { echo "demo: --answers needs a file" >&2; exit 2; }
        answers=(--answers "$(realpath "$2")")
        shift
        ;;
    *)
        echo "usage: scripts/demo.sh [--unattended] [--answers FILE]" >&2
        exit 2
        ;;
    esac
    shift
done

# Runs a build step quietly, showing its output only when it fails.
quiet() {
    local log
    if ! log=$("$@" 2>&1); then
        printf '%s\n' "$log" >&2
        echo "demo: '$*' failed" >&2
        exit 1
    fi
}

# The demo needs the host build only: no cross compiler, no Wine.
scripts/deps.sh host
echo "building tlins32a and tlmachine in build/release ..." >&2
quiet cmake --preset release
quiet cmake --build --preset release -j "$(nproc)" --target tlins32a tlmachine

bin=build/release/bin
work=build/demo
pc=$work/pc
fresh=$work/fresh
rm -rf "$work"
mkdir -p "$work"
examples/machine/make-machine.sh "$bin/tlmachine" "$pc"
cp -a "$pc" "$fresh"

heading() { printf '\n== %s ==\n' "$1"; }

heading "Installing examples/disk on a fresh Windows 95 PC ($pc)"
run=("$bin/tlins32a" --machine "$pc" --disk examples/disk --transcript "$work/run.jsonl"
    "${answers[@]}")
status=0
if [ "$unattended" = 1 ] || [ ! -t 0 ] || [ ! -t 1 ]; then
    echo "(no terminal: every question takes its default answer)"
    "${run[@]}" </dev/null || status=$?
else
    "${run[@]}" || status=$?
fi

heading "What the installer showed and did (transcript, $work/run.jsonl)"
jq -r '
  def oneline: gsub("\n"; " | ");
  # What a dialog was left with: the items selected in its lists, the checked buttons, and
  # the directory typed into DIRECTORY.
  def chosen:
    [(.closed.controls // {})[]
     | if has("items") and has("selected") then (.items as $items | [.selected[] | $items[.]] | join(", "))
       elif .checked == true then .text
       else empty end]
    + (if .template == "DIRECTORY" then [.closed.controls["117"].text] else [] end)
    | map(select(. != "")) | join("; ");
  if .event == "message" then
    "message \(.key)  [\(.caption)] \(.text | oneline)  -> \(.answer)"
  elif .event == "dialog" then
    "dialog \(.template)  [\(.opened.caption)]"
    + (chosen | if . == "" then "" else "  chose: \(.)" end)
    + "  pressed \(.pressed // "-")  result \(.result // "-")"
  elif .event == "end" then
    "end: installation state \(.state), exit code \(.exitCode)"
  else
    "\(.event): \(del(.event) | tojson)"
  end' "$work/run.jsonl"

heading "The PC afterwards (tlmachine show)"
"$bin/tlmachine" show "$pc"

heading "Files added or changed on drive C:"
changed=0
while IFS= read -r -d '' file; do
    rel=${file#"$pc"/}
    if [ ! -e "$fresh/$rel" ]; then
        printf '  added    %s (%s bytes)\n' "$rel" "$(stat -c %s "$file")"
        changed=1
    elif ! cmp -s "$file" "$fresh/$rel"; then
        printf '  changed  %s\n' "$rel"
        changed=1
    fi
done < <(find "$pc/drive_c" -type f -print0 | sort -z)
[ "$changed" = 1 ] || echo "  (none)"

# The INI files are ANSI text of code page 949, with CR LF line ends.
ini_diff() {
    local name=$1 before=$2 after=$3
    heading "$name"
    if [ ! -e "$after" ]; then
        echo "  (not there)"
        return
    fi
    [ -e "$before" ] || before=/dev/null
    if cmp -s "$before" "$after"; then
        echo "  (unchanged)"
        return
    fi
    diff -U1 --label "$name before" --label "$name after" \
        <(iconv -f CP949 -t UTF-8 "$before" | tr -d '\r') \
        <(iconv -f CP949 -t UTF-8 "$after" | tr -d '\r') || true
}
ini_diff WIN.INI "$fresh/drive_c/WINDOWS/WIN.INI" "$pc/drive_c/WINDOWS/WIN.INI"
ini_diff SYSTEM.INI "$fresh/drive_c/WINDOWS/SYSTEM.INI" "$pc/drive_c/WINDOWS/SYSTEM.INI"
ini_diff "tlsetup.ini (the installation's settings)" /dev/null "$pc/drive_c/WINDOWS/tlsetup.ini"

# An unattended run's exit status says how it went (the full number is the transcript end's
# "status"; the shell sees it modulo 256): 0 installed, 3010 installed and Windows must restart
# (the default install asks for one), 1602 cancelled or declined, 1603 something failed.
full=$(jq -r 'select(.event == "end") | .status // empty' "$work/run.jsonl" | tail -n 1)
case ${full:-$status} in
0) meaning="installed" ;;
3010) meaning="installed; Windows must restart" ;;
1602) meaning="cancelled or declined: nothing installed" ;;
1603) meaning="something failed (see the error events above)" ;;
*) meaning="see the transcript" ;;
esac
echo
echo "tlins32a exit status: ${full:-$status} ($meaning); the PC is in $pc"
