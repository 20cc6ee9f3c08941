#!/usr/bin/env bash
# tlins32a.exe as a person's Windows would run it, under Wine on a virtual X display: started
# from its install disk, unattended with an answers file on its real dialogs, and checked by its
# transcript and by what it left on the PC (the Wine prefix's C: drive). Holding this run to the
# host program's is scripts/differential.sh's work.
#
# usage: installer-under-wine.sh TLINS32A.EXE SOURCE_DIR WORK_DIR [DISK]
#   DISK   the install disk folder (default: SOURCE_DIR/examples/disk)
set -euo pipefail
exe=$1
source_dir=$2
work=$3
sample_disk=${4:-$source_dir/examples/disk}
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

# Runs the installer in DISK with the answers given; the transcript goes to NAME.jsonl. Wine
# presents Windows 95 to it, so that Wine's spooler keeps the printers of the "Windows 4.0"
# environment that the installer registers its driver in (docs/wine-differences.md, "AddPrinterA,
# a driver of Windows 4.0").
run() {
    local disk=$1 name=$2 answers=$3
    shift 3
    printf '%s' "$answers" >"$work/$name.ini"
    local status=0
    TL_WINE_VERSION=win95 timeout 300 "$run_display" "$disk/TLINS32A.EXE" --answers "$(winpath "$work/$name.ini")" \
        --transcript "$(winpath "$work/$name.jsonl")" "$@" >"$work/$name.log" 2>&1 || status=$?
    echo "$status"
}

# The transcript's events, one JSON object a line; every line must be JSON.
events() { jq -c . "$work/$1.jsonl"; }
has() { events "$1" | jq -e -s "$2" >/dev/null || fail "$1: expected $2"; }

# 1. A disk without INSTALL.INF: the error box, in Korean, answered, and a clean end.
mkdir -p "$work/empty"
cp "$exe" "$work/empty/TLINS32A.EXE"
# The missing script is a failure: status 1603, which the exit status shows modulo 256.
status=$(run "$work/empty" empty "")
[ "$status" = $((1603 % 256)) ] || fail "empty disk: exit status $status"
has empty 'map(select(.event == "message"))[0] | .key == "132" and .text == "INSTALL.INF 찾을수 없습니다." and .caption == "드라이버 설치" and .icon == "error" and .answer == "ok"'
has empty 'last | .event == "end" and .exitCode == 0 and .status == 1603'

# 2. The sample install disk, answered as a person would: the German edition, the LP 300, no
#    demonstration page, two of the three fonts into C:\TTF.
cp -a "$sample_disk" "$work/disk"
cp "$exe" "$work/disk/TLINS32A.EXE"
status=$(run "$work/disk" install "$(cat "$source_dir/examples/answers/deutsch-lp300.ini")" \
    --record-answers "$(winpath "$work/recorded.ini")")
# Installed, and Windows must restart: status 3010.
[ "$status" = $((3010 % 256)) ] || fail "sample disk: exit status $status"
has install '[.[] | select(.event == "dialog") | .template] == ["CHOICE", "SELECTDRV", "COPYING", "DIRECTORY", "FONT", "COPYING", "WAITING", "WIN_RESTART"]'
has install '[.[] | select(.event == "message") | "\(.key)=\(.answer)"] == ["139=yes", "142=no", "143=yes", "157=ok", "165=ok"]'
has install 'map(select(.template == "CHOICE"))[0] | .closed.controls["21"].checked and .opened.controls["20"].checked and .result == 1'
has install 'map(select(.template == "SELECTDRV"))[0].closed.controls["119"] | .items[.selected[0]] == "Telmora LP 300"'
has install 'map(select(.template == "DIRECTORY"))[0].closed.controls["117"].text == "C:\\TTF"'
has install 'map(select(.template == "FONT"))[0].closed.controls["110"].selected == [1, 2]'
has install 'map(select(.event == "addfont") | .file) == ["C:\\TTF\\TLGT.TTF", "C:\\TTF\\TLGS.TTF"]'
# The restart is asked for and recorded; an unattended run leaves the session alone.
has install 'map(select(.event == "restart")) | length == 1'
has install 'last | .event == "end" and .state == 5 and .exitCode == 0 and .status == 3010'

# The run recorded as answers that replay it: what the real dialogs were changed to, the buttons
# that closed them, the boxes' answers.
recorded=$(tr -d '\r' <"$work/recorded.ini" 2>/dev/null || true)
for line in '[CHOICE]' '20=0' '21=1' '[SELECTDRV]' '119=Telmora LP 300' '142=No' '[DIRECTORY]' \
    '117=C:\TTF' '[FONT]' '110=Telmora Gothic,Telmora Gungseo' '[WIN_RESTART]'; do
    grep -qxF -- "$line" <<<"$recorded" || fail "recorded answers: no line $line"
done

# What it left on the PC: the files expanded by the system's LZ32 as Debian's msexpand expands
# them, the private settings file, the SYSTEM.INI backup.
same_as_expanded() {
    local packed=$1 installed=$2
    if [ ! -f "$installed" ]; then
        fail "missing $installed"
    elif ! msexpand <"$work/disk/WIN95/$packed" | cmp -s - "$installed"; then
        fail "$installed differs from $packed expanded"
    fi
}
system="$drive_c/windows/system32"
same_as_expanded TL300.DR_ "$system/TL300.DRV"
same_as_expanded TLCORE.DL_ "$system/TLCORE.DLL"
same_as_expanded TLRESDEU.DL_ "$system/TLRES.DLL"
same_as_expanded TLGT.TT_ "$drive_c/TTF/TLGT.TTF"
same_as_expanded TLGS.TT_ "$drive_c/TTF/TLGS.TTF"
[ ! -e "$drive_c/TTF/TLMJ.TTF" ] || fail "a font that was not chosen was installed"
[ ! -e "$system/TLDEMO.PRN" ] || fail "the declined demonstration page was installed"
settings="$drive_c/windows/tlsetup.ini"
grep -q '^DriverName=Telmora LP 300' "$settings" || fail "tlsetup.ini: no DriverName"
grep -q '^Language=2' "$settings" || fail "tlsetup.ini: the German edition was not saved"
grep -qi '^FontPath=C:\\TTF' "$settings" || fail "tlsetup.ini: no FontPath"
[ -f "$drive_c/windows/SYSTEM.B00" ] || fail "no SYSTEM.INI backup"

# 3. The LP 600 with its language monitor: Wine's spooler refuses the monitor library, which
#    Windows 95 takes (docs/wine-differences.md, "AddMonitorA, a 32-bit monitor library"). The
#    installation has failed and says so: status 1603, the refused call in the transcript, no
#    printer for the model.
status=$(run "$work/disk" monitor "$(printf '[CHOICE]\n20=1\n[Messages]\n142=No\n143=No\n')")
[ "$status" = $((1603 % 256)) ] || fail "language monitor: exit status $status"
has monitor 'map(select(.event == "error")) == [{"event": "error", "operation": "AddMonitorA", "file": "Telmora Language Monitor", "code": 127}]'
has monitor 'map(select(.event == "message") | .key) | any(. == "153")'
has monitor 'last | .event == "end" and .state == 1 and .status == 1603'
! grep -qi 'Print\\\\Printers\\\\Telmora LP 600\]' "$TL_WINEPREFIX/system.reg" ||
    fail "language monitor: a printer was added for the LP 600"

if [ "$failures" -gt 0 ]; then
    echo "--- recorded.ini" >&2
    cat "$work/recorded.ini" >&2 || true
    for name in empty install monitor; do
        echo "--- $name.jsonl" >&2
        cat "$work/$name.jsonl" >&2 || true
    done
    exit 1
fi
echo "tlins32a.exe under Wine: all checks passed"
