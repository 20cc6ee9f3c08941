#!/usr/bin/env bash
# TLREMOVE.EXE under Wine: the sample disk installed by tlins32a.exe with its default answers,
# then removed with TLREMOVE.EXE from the same disk, unattended. The PC (the Wine prefix's C:
# drive) must be as it was: the same files under the Windows directory and the font directory,
# WIN.INI and SYSTEM.INI line for line, and no registration of the installation's printer,
# driver or fonts left in the registry.
#
# usage: removal-under-wine.sh TLINS32A.EXE TLREMOVE.EXE SOURCE_DIR WORK_DIR
set -euo pipefail
installer=$1
remover=$2
source_dir=$3
work=$4
run_display="$source_dir/scripts/wine-display-run.sh"

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
winpath() { printf 'Z:%s' "${1//\//\\}"; }

rm -rf "$work"
mkdir -p "$work"
export TL_WINEPREFIX="$work/prefix"
drive_c="$TL_WINEPREFIX/drive_c"
cp -a "$source_dir/examples/disk" "$work/disk"
cp "$installer" "$work/disk/TLINS32A.EXE"
cp "$remover" "$work/disk/TLREMOVE.EXE"

# Runs PROGRAM of the disk with an empty answers file; the transcript goes to NAME.jsonl.
run() {
    local program=$1 name=$2
    : >"$work/$name.ini"
    local status=0
    TL_WINE_VERSION=win95 timeout 300 "$run_display" "$work/disk/$program" --answers "$(winpath "$work/$name.ini")" \
        --transcript "$(winpath "$work/$name.jsonl")" >"$work/$name.log" 2>&1 || status=$?
    echo "$status"
}
has() { jq -c . "$work/$1.jsonl" | jq -e -s "$2" >/dev/null || fail "$1: expected $2"; }

# The state compared: the files below the Windows directory (with their bytes) and the
# registry's mentions of the installation.
snapshot() {
    local out=$1
    (cd "$drive_c/windows" && find . -type f ! -name '*.reg' -print0 | sort -z |
        xargs -0 sha1sum) >"$out.files"
    # Wine's DeletePrintProcessorA reports success and leaves the processor's key (its
    # "Driver" value) in the registry: the one line not held against the removal.
    grep -i -h 'telmora\|tlpm\|tlproc\|tllmon' "$TL_WINEPREFIX"/*.reg |
        grep -v '^"Driver"="TLPROC.DLL"$' >"$out.registry" || true
}

# 1. Nothing installed yet: the removal says so and changes nothing (this run also makes the
#    Wine prefix).
status=$(run TLREMOVE.EXE nothing)
[ "$status" = 0 ] || fail "nothing to remove: exit status $status"
has nothing '[.[] | select(.event == "message") | .key] == ["303"]'
# The PC has the sample's language monitor registered, as an earlier install of one of its
# printers leaves it: Wine's spooler refuses to register the monitor library itself
# (docs/wine-differences.md, "AddMonitorA, a 32-bit monitor library"). The removal must leave
# it, as this installation did not add it.
printf 'REGEDIT4\r\n\r\n[%s]\r\n"Driver"="TLLMON.DLL"\r\n' \
    'HKEY_LOCAL_MACHINE\System\CurrentControlSet\control\Print\Monitors\Telmora Language Monitor' \
    >"$work/monitor.reg"
"$run_display" regedit /S "$(winpath "$work/monitor.reg")" >"$work/monitor.log" 2>&1 ||
    fail "the language monitor could not be registered (see $work/monitor.log)"
snapshot "$work/before"

# 2. The default install, then the removal.
status=$(run TLINS32A.EXE install)
[ "$status" = $((3010 % 256)) ] || fail "install: exit status $status"
[ -f "$drive_c/windows/system32/TLCORE.DLL" ] || fail "install: TLCORE.DLL not installed"
status=$(run TLREMOVE.EXE remove)
[ "$status" = 0 ] || [ "$status" = $((3010 % 256)) ] || fail "removal: exit status $status"
has remove '[.[] | select(.event == "message") | .key] == ["300", "302"]'
has remove 'map(select(.event == "error")) | length == 0'
has remove 'map(select(.event == "removefont")) | length == 4'
snapshot "$work/after"
diff "$work/before.files" "$work/after.files" >&2 || fail "the Windows directory differs"
diff "$work/before.registry" "$work/after.registry" >&2 || fail "the registry differs"

# 3. Again: nothing more to remove.
status=$(run TLREMOVE.EXE again)
[ "$status" = 0 ] || fail "second removal: exit status $status"
has again '[.[] | select(.event == "message") | .key] == ["303"]'

if [ "$failures" -gt 0 ]; then
    for name in nothing install remove again; do
        echo "--- $name.jsonl" >&2
        cat "$work/$name.jsonl" >&2 || true
    done
    exit 1
fi
echo "TLREMOVE.EXE under Wine: all checks passed"
