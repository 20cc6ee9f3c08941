#!/usr/bin/env bash
# tlins32a.exe as a person's Windows would run it, under Wine on a virtual X display: started
# from its install disk, unattended with an answers file on its real dialogs, and checked by its
# transcript and by what it left on the PC (the Wine prefix's C: drive).
#
# usage: installer-under-wine.sh TLINS32A.EXE SOURCE_DIR WORK_DIR
set -euo pipefail
exe=$1
source_dir=$2
work=$3
run_display="$source_dir/scripts/wine-display-run.sh"

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
# A Windows path for a file on this machine (Wine shows / as drive Z:).
winpath() { printf 'Z:%s' "${1//\//\\}"; }

rm -rf "$work"
mkdir -p "$work"
export TL_WINEPREFIX="$work/prefix"
drive_c="$TL_WINEPREFIX/drive_c"

# Runs the installer in DISK with the answers given; the transcript goes to NAME.jsonl.
run() {
    local disk=$1 name=$2 answers=$3
    shift 3
    printf '%s' "$answers" >"$work/$name.ini"
    local status=0
    timeout 300 "$run_display" "$disk/TLINS32A.EXE" --answers "$(winpath "$work/$name.ini")" \
        --transcript "$(winpath "$work/$name.jsonl")" "$@" >"$work/$name.log" 2>&1 || status=$?
    echo "$status"
}

# The transcript's events, one JSON object a line; every line must be JSON.
events() { jq -c . "$work/$1.jsonl"; }
has() { events "$1" | jq -e -s "$2" >/dev/null || fail "$1: expected $2"; }

# 1. A disk without INSTALL.INF: the error box, in Korean, answered, and a clean end.
mkdir -p "$work/empty"
cp "$exe" "$work/empty/TLINS32A.EXE"
status=$(run "$work/empty" empty "")
[ "$status" = 0 ] || fail "empty disk: exit status $status"
has empty 'map(select(.event == "message"))[0] | .key == "132" and .text == "INSTALL.INF 찾을수 없습니다." and .caption == "드라이버 설치" and .icon == "error" and .answer == "ok"'
has empty 'last | .event == "end" and .exitCode == 0'

# 2. The sample install disk.
cp -a "$source_dir/examples/disk" "$work/disk"
cp "$exe" "$work/disk/TLINS32A.EXE"
status=$(run "$work/disk" install "")
[ "$status" = 0 ] || fail "sample disk: exit status $status"
has install 'last | .event == "end" and .exitCode == 0'

if [ "$failures" -gt 0 ]; then
    for name in empty install; do
        echo "--- $name.jsonl" >&2
        cat "$work/$name.jsonl" >&2 || true
    done
    exit 1
fi
echo "tlins32a.exe under Wine: all checks passed"
