#!/usr/bin/env bash
# tlins32a.exe under Wine as a hostile user runs it: answers it cannot use, temporary names
# taken by directories, font directories as long as the directory dialog accepts, a typed
# letter the code page lacks. An unattended run must end by itself (no box waits), say why it
# stopped, and never put anything but the file it wrote in place of a system file.
#
# usage: safety-under-wine.sh TLINS32A.EXE SOURCE_DIR WORK_DIR
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
winpath() { printf 'Z:%s' "${1//\//\\}"; }

rm -rf "$work"
mkdir -p "$work"
prefix="$work/prefix"
template="$work/prefix-template"
export TL_WINEPREFIX="$prefix"
drive_c="$prefix/drive_c"
windows="$drive_c/windows"
system="$windows/system32"
mkdir -p "$work/disk"
cp -a "$source_dir/examples/disk/." "$work/disk/"
cp "$exe" "$work/disk/TLINS32A.EXE"
disk="$work/disk"

# Runs the program with ARGS, killed after LIMIT seconds (a box nobody answers never ends);
# standard error goes to NAME.err. Prints the exit status (124 when it was killed).
run_limited() {
    local name=$1 limit=$2
    shift 2
    local status=0
    TL_WINE_VERSION=win95 timeout -k 5 "$limit" "$run_display" "$disk/TLINS32A.EXE" "$@" \
        >"$work/$name.out" 2>"$work/$name.err" || status=$?
    [ "$status" != 124 ] || WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
    echo "$status"
}

# A fresh prefix for each run, made in a moment: the template's files linked, not copied (it
# holds 700 MB), except those Wine rewrites in place, which each prefix gets copies of.
fresh_prefix() {
    rm -rf "$prefix"
    cp -al "$template" "$prefix"
    local file
    for file in "$template"/*.reg "$template"/drive_c/windows/*.ini; do
        cp -p --remove-destination "$file" "$prefix/${file#"$template"/}"
    done
}

# Runs NAME.ini (written from ANSWERS) on a fresh prefix; transcript NAME.jsonl. What SETUP says
# (a shell command) is done to the fresh prefix first.
install_case() {
    local name=$1 answers=$2 setup=${3:-true}
    fresh_prefix
    eval "$setup"
    printf '%s' "$answers" >"$work/$name.ini"
    run_limited "$name" 300 --answers "$(winpath "$work/$name.ini")" \
        --transcript "$(winpath "$work/$name.jsonl")"
}

# An unattended run's exit status as the shell sees it (modulo 256): 1603 failed, 3010 installed
# with a restart needed.
failed=$((1603 % 256))
restart_needed=$((3010 % 256))

events() { jq -c . "$work/$1.jsonl" 2>/dev/null; }
has() { events "$1" | jq -e -s "$2" >/dev/null || fail "$1: expected $2"; }

# The prefix, made once (a minute or more) before any run is timed, with Wine presenting Windows
# 95 to the installer, so that Wine's spooler keeps the printers of the "Windows 4.0" environment
# (docs/wine-differences.md, "AddPrinterA, a driver of Windows 4.0").
timeout 600 "$run_display" reg add 'HKCU\Software\Wine\AppDefaults\TLINS32A.EXE' /v Version \
    /d win95 /f >"$work/prefix.log" 2>&1 || fail "no Wine prefix"

# 1. Answers the program cannot use: the reason on standard error and in the transcript, exit 2,
#    and no box (a box would wait until the run is killed).
check_unusable() {
    local name=$1 expected=$2
    shift 2
    local status
    status=$(run_limited "$name" 60 "$@" --transcript "$(winpath "$work/$name.jsonl")")
    [ "$status" = 2 ] || fail "$name: exit status $status, expected 2"
    grep -q "$expected" "$work/$name.err" || fail "$name: standard error does not say '$expected'"
    has "$name" "last | .event == \"end\" and .exitCode == 2 and (.error | contains(\"$expected\"))"
}
check_unusable missing-answers "cannot read answers file" \
    --answers "$(winpath "$work/no-such-answers.ini")"
printf '\xff\xfe[\x00M\x00e\x00s\x00s\x00a\x00g\x00e\x00s\x00]\x00\r\x00\n\x00' >"$work/utf16.ini"
check_unusable utf16-answers "utf16.ini" --answers "$(winpath "$work/utf16.ini")"
printf '[Messages]\n' >"$work/plain.ini"
check_unusable unknown-option "unknown option: --bogus" \
    --bogus --answers "$(winpath "$work/plain.ini")"
WINEPREFIX="$prefix" wineserver -w >/dev/null 2>&1 || true
mv "$prefix" "$template"

sample=$(cat "$source_dir/examples/answers/deutsch-lp300.ini")
# The sample's answer for the font directory, and the same answers with another one.
sample_dir='117=C:\TTF'
with_font_dir() { printf '%s' "${sample/"$sample_dir"/"117=$1"}"; }

# 2. A directory where the copy puts its temporary file: the copy fails with that directory
#    untouched, and nothing else (no other temporary name) takes the real file's place.
status=$(install_case driver-tmp-dir "$sample" 'mkdir -p "$system/TL300.DRV.TMP"')
[ "$status" = "$failed" ] || fail "driver-tmp-dir: exit status $status, expected $failed"
[ -d "$system/TL300.DRV.TMP" ] || fail "driver-tmp-dir: the directory TL300.DRV.TMP was moved"
[ ! -d "$system/TL300.DRV" ] || fail "driver-tmp-dir: TL300.DRV became a directory"
ls "$system" | grep -qi '^TL300\.DRV\.TM_$' && fail "driver-tmp-dir: the data went to TL300.DRV.TM_"
has driver-tmp-dir 'last | .event == "end" and .state == 1'

status=$(install_case ini-tmp-dir "$sample" \
    'mkdir -p "$windows/SYSTEM.INI.TMP"; cp "$windows/system.ini" "$work/system.ini.before"')
[ -d "$windows/SYSTEM.INI.TMP" ] || fail "ini-tmp-dir: the directory SYSTEM.INI.TMP was moved"
[ -f "$windows/system.ini" ] || fail "ini-tmp-dir: SYSTEM.INI is no longer a file"
cmp -s "$windows/system.ini" "$work/system.ini.before" || fail "ini-tmp-dir: SYSTEM.INI changed"
has ini-tmp-dir 'map(select(.event == "message" and .key == "157")) | length == 0'

# 3. Font directories up to the longest the directory dialog accepts for this disk (its longest
#    font name, TLMJB.TTF, and the copy's TLMJB.TTF.TMP leave 245 characters): every font arrives
#    (all are chosen, so that the longest names are written). One character more is refused by
#    the dialog, not failed in the copy.
all_fonts='110=Telmora Myeongjo,Telmora Gothic,Telmora Gungseo'
long_directory() { printf 'FONTS\\%s' "$(printf 'L%.0s' $(seq $(($1 - 9))))"; }
for length in 114 118 245 246; do
    name="fonts-$length"
    directory="C:\\$(long_directory "$length")"
    answers=$(with_font_dir "$directory")
    status=$(install_case "$name" "${answers/110=Telmora Gothic,Telmora Gungseo/$all_fonts}")
    unix_dir="$drive_c/$(long_directory "$length" | tr '\\' /)"
    if [ "$length" = 246 ]; then
        [ "$status" = 3 ] || fail "$name: exit status $status, expected 3"
        has "$name" 'map(select(.event == "message" and .key == "125")) | length > 0'
        [ ! -e "$unix_dir" ] || fail "$name: the refused directory was made"
        continue
    fi
    [ "$status" = "$restart_needed" ] || fail "$name: exit status $status"
    for font in TLMJ.TTF TLMJB.TTF TLGT.TTF TLGS.TTF; do
        [ -f "$unix_dir/$font" ] || fail "$name: $font was not copied"
    done
    has "$name" 'last | .event == "end" and .state == 5 and .exitCode == 0'
done

# 5. A letter the code page lacks is refused as typed, never written as a look-alike.
status=$(install_case best-fit "$(with_font_dir 'C:\TÜF')")
[ "$status" = 3 ] || fail "best-fit: exit status $status, expected 3"
[ ! -e "$drive_c/TUF" ] || fail "best-fit: C:\\TÜF was made as C:\\TUF"

# 4. Names from the disk that leave their directory or name a device, and a typed directory that
#    is a device: refused, and nothing changes outside the Windows, system and font directories;
#    the printer port is never written to (in each prefix LPT1 is a file here, NAME.lpt1).
mkdir -p "$work/outside"
printf 'canary' >"$work/outside/CANARY.TXT"
outside_canary=$(winpath "$work/outside/CANARY.TXT")
bad_name_key="The setup script names a file that cannot be used"

# Runs ANSWERS on a copy of the disk whose FILE has FROM replaced by TO (the catalogue also gets
# the [SourceDisksFiles] line SOURCE when one is given).
hostile_case() {
    local name=$1 file=$2 from=$3 to=$4 source=$5 answers=$6
    rm -rf "$work/disk-$name"
    cp -a "$work/disk" "$work/disk-$name"
    [ -z "$from" ] || FROM=$from TO=$to perl -0pi -e 's/\Q$ENV{FROM}\E/$ENV{TO}/' "$work/disk-$name/$file"
    if [ -n "$source" ]; then
        SOURCE=$source perl -0pi -e 's/\[SourceDisksFiles\]\r?\n/$&$ENV{SOURCE}\r\n/' \
            "$work/disk-$name/WIN95/OEMSETUP.INF"
    fi
    disk="$work/disk-$name"
    install_case "$name" "$answers" \
        ": >\"$work/$name.lpt1\"; ln -sfn \"$work/$name.lpt1\" \"$prefix/dosdevices/lpt1\"; touch \"$work/$name.before\""
    disk="$work/disk"
}

# What the run made or changed on drive C: beyond the files directly in the Windows, system and
# font directories (and what Wine itself keeps under users\). Told by the inode's change time: a
# copy keeps its source's last-write time.
changed_outside() {
    (cd "$drive_c" && find . -cnewer "$work/$1.before" ! -type d) |
        grep -v -i -E '^\./(windows|windows/system32|TTF)/[^/]+$|^\./users/' || true
}

check_hostile() {
    local name=$1 expected_status=$2
    local status=$3
    [ "$status" = "$expected_status" ] || fail "$name: exit status $status, expected $expected_status"
    [ ! -s "$work/$name.lpt1" ] || fail "$name: the printer port was written to"
    [ "$(cat "$work/outside/CANARY.TXT")" = canary ] || fail "$name: a file outside the PC changed"
    [ "$(ls "$work/outside")" = CANARY.TXT ] || fail "$name: a file was made outside the PC"
    local outside
    outside=$(changed_outside "$name")
    [ -z "$outside" ] || fail "$name: changed outside the Windows, system and font directories: $outside"
    find "$prefix" -iname 'EVIL*' | grep -q . && fail "$name: EVIL.DLL was written" || true
}

for entry in \
    "backslash-up|..\\..\\EVIL.DLL" \
    "slash-up|../../EVIL.DLL" \
    "absolute|$outside_canary" \
    "device|LPT1"; do
    name=${entry%%|*}
    target=${entry#*|}
    status=$(hostile_case "$name" WIN95/OEMSETUP.INF "TLRES.DLL, TLRESDEU.DLL" \
        "$target, TLRESDEU.DLL" "$target = 1" "$sample")
    check_hostile "$name" "$failed" "$status"
    has "$name" "map(select(.event == \"message\" and .key == \"$bad_name_key\")) | length == 1"
    has "$name" 'last | .event == "end" and .state == 1'
done

status=$(hostile_case private-ini INSTALL.INF "tlsetup.ini" "LPT1" "" "$sample")
check_hostile private-ini "$failed" "$status"
has private-ini "map(select(.event == \"message\" and .key == \"$bad_name_key\")) | length == 1"

status=$(hostile_case font-dir-nul INSTALL.INF "" "" "" "$(with_font_dir 'C:\NUL')")
check_hostile font-dir-nul 3 "$status"
has font-dir-nul 'map(select(.event == "message" and .key == "125")) | length > 0'
has font-dir-nul 'map(select(.event == "addfont")) | length == 0'

if [ "$failures" -gt 0 ]; then
    # How each run ended; the whole transcripts stay in WORK_DIR.
    for file in "$work"/*.jsonl "$work"/*.err; do
        echo "--- $file" >&2
        tail -n 2 "$file" | cut -c 1-400 >&2 || true
    done
    exit 1
fi
echo "tlins32a.exe under Wine, hostile cases: all checks passed"
