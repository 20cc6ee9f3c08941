#!/usr/bin/env bash
# The differential check: the sample install disk installed with the same answers on the same
# starting PC by the host build (tlins32a on a machine folder) and by the Windows build
# (tlins32a.exe under Wine on a virtual X display) must leave the same files in the Windows,
# system and font directories, the same WIN.INI, SYSTEM.INI and private settings lines, the same
# font registrations, and the same transcript (every message and dialog, in order).
#
# Where Wine itself answers otherwise than Windows 95, exactly that item is left out of the
# comparison, with its entry in docs/wine-differences.md named where it is left out.
#
# usage: scripts/differential.sh [options]
#   --host-bin DIR   the host programs tlins32a and tlmachine (default build/default/bin)
#   --exe FILE       the Windows program (default build/win64/bin/tlins32a.exe)
#   --work DIR       where both PCs and their transcripts stay (default build/differential)
#   --answers FILE   the answers for both runs (default examples/answers/deutsch-lp300.ini)
#   --self-test      afterwards, show that the check notices one changed byte of an installed
#                    file, one changed INI line and one changed transcript text on one side
# Exit status: 0 equal, 1 a difference (each one is listed), 2 the runs could not be made.
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)

host_bin=$source_dir/build/default/bin
exe=$source_dir/build/win64/bin/tlins32a.exe
work=$source_dir/build/differential
answers=$source_dir/examples/answers/deutsch-lp300.ini
self_test=0
while [ $# -gt 0 ]; do
    case $1 in
    --host-bin | --exe | --work | --answers)
        [ $# -ge 2 ] || { echo "differential: $1 needs a value" >&2; exit 2; }
        case $1 in
        --host-bin) host_bin=$2 ;;
        --exe) exe=$2 ;;
        --work) work=$2 ;;
        --answers) answers=$2 ;;
        esac
        shift
        ;;
    --self-test) self_test=1 ;;
    *)
        sed -n '/^# usage:/,/^# Exit/p' "$0" | sed 's/^# \{0,1\}//' >&2
        exit 2
        ;;
    esac
    shift
done

stop() {
    echo "differential: $*" >&2
    exit 2
}
for program in "$host_bin/tlins32a" "$host_bin/tlmachine"; do
    [ -x "$program" ] || stop "no $program: build the host programs first (cmake --build --preset default)"
done
[ -f "$exe" ] || stop "no $exe: build the Windows program first (cmake --build --preset win64)"
[ -f "$answers" ] || stop "no answers file $answers"
for tool in wine xvfb-run jq sha256sum; do
    command -v "$tool" >/dev/null || stop "$tool is missing (scripts/deps.sh installs it)"
done
answers=$(realpath "$answers")
exe=$(realpath "$exe")

rm -rf "$work"
mkdir -p "$work"
work=$(realpath "$work")
wine_pc=$work/wine
host_pc=$work/host
wine_c=$wine_pc/drive_c
host_c=$host_pc/drive_c
export TL_WINEPREFIX=$wine_pc

# A Windows path for a file on this machine (Wine shows / as drive Z:).
winpath() { printf 'Z:%s' "${1//\//\\}"; }

# --- The starting PC ------------------------------------------------------------------------
# Both PCs start as the fresh Wine prefix is: Windows in C:\windows, the system directory
# C:\windows\system32, Windows 95's version, Wine's own WIN.INI and SYSTEM.INI, no lpt.vxd and no
# ECP port (the prefix has neither), the install disk in drive A:. Both INI files then get the
# same lines from another vendor's software for INSTALL.INF's [DeleteIni] to take out.
echo "differential: making the Wine PC ..." >&2
"$source_dir/scripts/wine-display-run.sh" cmd /c exit 0 >"$work/prefix.log" 2>&1 ||
    stop "the Wine prefix could not be made (see $work/prefix.log)"
windows_of() { find "$1" -maxdepth 1 -iname windows -type d | head -n 1; }
wine_windows=$(windows_of "$wine_c")
[ -n "$wine_windows" ] || stop "the Wine prefix has no C:\\windows"

"$host_bin/tlmachine" init "$host_pc" --lpt-vxd-version none >/dev/null
sed -i 's/^WindowsDirectory=.*/WindowsDirectory=C:\\windows/; s/^SystemDirectory=.*/SystemDirectory=C:\\windows\\system32/' \
    "$host_pc/machine.ini"
host_windows=$(windows_of "$host_c")
mkdir -p "$host_windows/system32"
# Lines added to a file that ends with CR LF keep that line end.
add_ini_lines() {
    local file=$1 section=$2
    shift 2
    printf '[%s]\r\n' "$section" >>"$file"
    for line in "$@"; do
        printf '%s\r\n' "$line" >>"$file"
    done
}
starting_ini() {
    local name=$1
    local file
    file=$(find "$wine_windows" -maxdepth 1 -iname "$name" | head -n 1)
    [ -n "$file" ] || stop "the Wine prefix has no $name"
    cp "$file" "$work/start-$name"
}
starting_ini win.ini
starting_ini system.ini
add_ini_lines "$work/start-win.ini" windows load=TLSTAT.EXE
add_ini_lines "$work/start-system.ini" 386Enh device=BIDI.386 'device=*vcomm,TLPM20.386'
for name in win.ini system.ini; do
    find "$wine_windows" "$host_windows" -maxdepth 1 -iname "$name" -delete
    cp "$work/start-$name" "$wine_windows/$name"
    cp "$work/start-$name" "$host_windows/$name"
done

# The install disk, with the Windows program on it, is drive A: of both PCs.
cp -a "$source_dir/examples/disk" "$work/disk"
cp "$exe" "$work/disk/TLINS32A.EXE"
ln -s "$work/disk" "$wine_pc/dosdevices/a:"
private_ini=$(awk '/^\[/ { in_section = (toupper($0) ~ /^\[PRIVATE\.INI\]/); next }
    in_section && $0 !~ /^[ \t]*(;|$)/ { gsub(/[ \t\r]/, ""); print; exit }' "$work/disk/INSTALL.INF")
[ -n "$private_ini" ] || stop "INSTALL.INF names no private settings file"

# --- Snapshots ------------------------------------------------------------------------------
# A file's identity before the run: its inode, size and both times (a file the run replaces or
# rewrites gets a new inode or a new change time, whatever modification time it is given).
listing() { (cd "$1" && find . -type f -printf '%P\t%i %s %T@ %C@\n' | sort); }
# The values of the installed-fonts key: from the machine folder's REGEDIT4 registry.reg, or
# from the Wine prefix's system.reg (where the key is written without its root key and with
# its backslashes doubled). Value names and paths ignore case on Windows, so they are compared
# in lower case.
fonts_key_host() {
    tr -d '\r' <"$1" | awk '/^\[/ { in_key = (tolower($0) == "[hkey_local_machine\\software\\microsoft\\windows\\currentversion\\fonts]"); next }
        in_key && /^"/ { print tolower($0) }' | sort
}
fonts_key_wine() {
    tr -d '\r' <"$1" | awk '/^\[/ { in_key = (index(tolower($0), "[software\\\\microsoft\\\\windows\\\\currentversion\\\\fonts]") == 1); next }
        in_key && /^"/ { print tolower($0) }' | sort
}
listing "$wine_c" >"$work/wine-before.lst"
listing "$host_c" >"$work/host-before.lst"
fonts_key_wine "$wine_pc/system.reg" >"$work/wine-fonts-before.lst"
fonts_key_host "$host_pc/registry.reg" >"$work/host-fonts-before.lst"
cp -a "$host_pc" "$work/host-start"

# --- The runs -------------------------------------------------------------------------------
echo "differential: installing under Wine ..." >&2
wine_status=0
timeout 300 "$source_dir/scripts/wine-display-run.sh" 'A:\TLINS32A.EXE' \
    --answers "$(winpath "$answers")" --transcript "$(winpath "$work/wine.jsonl")" \
    >"$work/wine.log" 2>&1 || wine_status=$?
[ -s "$work/wine.jsonl" ] || stop "the Windows program wrote no transcript (exit status $wine_status, see $work/wine.log)"

# The free space a dialog first showed for a drive, in the 1,000-byte units it shows.
shown_free() { jq -r 'select(.event == "dialog") | .opened.controls["125"].text // empty' "$1" | head -n 1; }
# Wine reports the free space of the Linux file system under the prefix, which moves with
# whatever else this machine writes. The host PC is given the free space the Wine PC showed:
# a first host run on a copy finds how much the installer writes before the figure is shown.
wine_free=$(shown_free "$work/wine.jsonl")
if [ -n "$wine_free" ]; then
    large=1000000000000
    cp -a "$work/host-start" "$work/calibration"
    printf '[Drive.C]\nFreeBytes=%s\n' "$large" >>"$work/calibration/machine.ini"
    "$host_bin/tlins32a" --machine "$work/calibration" --disk "$work/disk" --answers "$answers" \
        --transcript "$work/calibration.jsonl" >/dev/null 2>&1 </dev/null || true
    calibration_free=$(shown_free "$work/calibration.jsonl")
    [ -n "$calibration_free" ] || stop "the host run on the copy showed no free space"
    printf '[Drive.C]\nFreeBytes=%s\n' $((wine_free * 1000 + large - calibration_free * 1000)) \
        >>"$host_pc/machine.ini"
fi

echo "differential: installing on the host ..." >&2
host_status=0
"$host_bin/tlins32a" --machine "$host_pc" --disk "$work/disk" --answers "$answers" \
    --transcript "$work/host.jsonl" >"$work/host.log" 2>&1 </dev/null || host_status=$?

fonts_key_wine "$wine_pc/system.reg" >"$work/wine-fonts-after.lst"

# --- The comparison -------------------------------------------------------------------------
# What a run changed on drive C:, one line a file: its path in lower case and the hash of what
# it holds now ("removed" when it is gone). The INI files are compared by their lines below.
changed_files() {
    local root=$1 before=$2
    listing "$root" | awk -F'\t' -v before="$before" '
        BEGIN { while ((getline line < before) > 0) { split(line, f, "\t"); old[f[1]] = f[2] } }
        { now[$1] = 1; if (!($1 in old) || old[$1] != $2) print $1 }
        END { for (path in old) if (!(path in now)) print path "\tremoved" }' |
        while IFS=$'\t' read -r path state; do
            local lower
            lower=$(printf '%s' "$path" | tr '[:upper:]' '[:lower:]')
            case $lower in
            windows/win.ini | windows/system.ini | "windows/${private_ini,,}") continue ;;
            esac
            if [ "$state" = removed ]; then
                printf '%s\tremoved\n' "$lower"
            else
                printf '%s\t%s\n' "$lower" "$(sha256sum <"$root/$path" | cut -d' ' -f1)"
            fi
        done | sort
}

# An INI file's lines as Windows reads them: section and key names in lower case (Windows
# ignores their case), values and comments as they stand. Blank lines are left out: Wine's profile functions
# start a new section without the blank line Windows 95 puts before it (docs/wine-differences.md,
# "WriteProfileStringA, new section"). With --no-spooler-lines, the printer entries that the
# spooler keeps in WIN.INI are left out as well: Wine's spooler keeps them in the registry
# (docs/wine-differences.md, "AddPrinterA, WIN.INI entries").
ini_lines() {
    local file=$1 spooler=${2:-}
    [ -f "$file" ] || { echo "(no file)"; return; }
    tr -d '\r' <"$file" | awk -v spooler="$spooler" '
        # A section header is printed with its first line; a section that only the left-out
        # spooler lines filled is left out with them.
        function flush() { if (pending != "" && !dropped) print pending; pending = "" }
        /^[ \t]*$/ { next }
        /^[ \t]*\[/ {
            flush()
            section = tolower($0); gsub(/^[ \t]+|[ \t]+$/, "", section)
            pending = section; dropped = 0
            next
        }
        {
            line = $0
            eq = /^[ \t]*;/ ? 0 : index(line, "=")
            key = eq ? tolower(substr(line, 1, eq - 1)) : ""
            gsub(/^[ \t]+|[ \t]+$/, "", key)
            if (spooler != "" && (section == "[devices]" || section == "[printerports]" ||
                                  (section == "[windows]" && key == "device"))) { dropped = 1; next }
            if (pending != "") { print pending; pending = "" }
            print (eq ? key "=" substr(line, eq + 1) : line)
        }
        END { flush() }'
}
ini_file() { find "$1" -maxdepth 1 -iname "$2" | head -n 1; }

# The transcript's events in order, without the milliseconds a timer fired at.
transcript_events() { jq -c 'del(.time)' "$1"; }

failures=0
# Compares one item of both runs; prints the difference (Wine's side first) when they differ.
compare() {
    local what=$1 wine_file=$2 host_file=$3
    if ! diff -u --label "Wine: $what" --label "host: $what" "$wine_file" "$host_file" >"$work/diff.txt"; then
        echo "DIFFERS: $what" >&2
        head -n 60 "$work/diff.txt" >&2
        failures=$((failures + 1))
    fi
}
compare_all() {
    failures=0
    local host_windows_now
    host_windows_now=$(windows_of "$host_c")
    local out=$work/compare
    rm -rf "$out"
    mkdir -p "$out"
    echo "$wine_status" >"$out/wine-status"
    echo "$host_status" >"$out/host-status"
    compare "exit status" "$out/wine-status" "$out/host-status"

    transcript_events "$work/wine.jsonl" >"$out/wine-transcript" || echo "(broken transcript)" >>"$out/wine-transcript"
    transcript_events "$work/host.jsonl" >"$out/host-transcript" || echo "(broken transcript)" >>"$out/host-transcript"
    compare "transcript" "$out/wine-transcript" "$out/host-transcript"

    changed_files "$wine_c" "$work/wine-before.lst" >"$out/wine-files"
    changed_files "$host_c" "$work/host-before.lst" >"$out/host-files"
    compare "files changed on C:" "$out/wine-files" "$out/host-files"

    ini_lines "$(ini_file "$wine_windows" win.ini)" spooler >"$out/wine-win.ini"
    ini_lines "$(ini_file "$host_windows_now" win.ini)" spooler >"$out/host-win.ini"
    compare "WIN.INI lines" "$out/wine-win.ini" "$out/host-win.ini"
    ini_lines "$(ini_file "$wine_windows" system.ini)" >"$out/wine-system.ini"
    ini_lines "$(ini_file "$host_windows_now" system.ini)" >"$out/host-system.ini"
    compare "SYSTEM.INI lines" "$out/wine-system.ini" "$out/host-system.ini"
    ini_lines "$(ini_file "$wine_windows" "$private_ini")" >"$out/wine-private.ini"
    ini_lines "$(ini_file "$host_windows_now" "$private_ini")" >"$out/host-private.ini"
    compare "$private_ini lines" "$out/wine-private.ini" "$out/host-private.ini"

    # Font registrations: the values the run added to or changed in the installed-fonts key.
    comm -13 "$work/wine-fonts-before.lst" "$work/wine-fonts-after.lst" >"$out/wine-fonts"
    fonts_key_host "$host_pc/registry.reg" | comm -13 "$work/host-fonts-before.lst" - >"$out/host-fonts"
    compare "font registrations" "$out/wine-fonts" "$out/host-fonts"
    return "$failures"
}

status=0
compare_all || status=1
if [ "$status" = 0 ]; then
    echo "differential: host and Windows builds agree ($(wc -l <"$work/compare/host-transcript") transcript events, $(wc -l <"$work/compare/host-files") files changed, $(wc -l <"$work/compare/host-fonts") fonts registered)" >&2
fi
[ "$self_test" = 1 ] || exit "$status"
[ "$status" = 0 ] || { echo "differential: no self-test on runs that differ" >&2; exit 1; }

# --- Self-test ------------------------------------------------------------------------------
# Each change to the host PC's results must be noticed; each is undone before the next.
noticed() {
    local what=$1
    if compare_all 2>/dev/null; then
        echo "SELF-TEST FAILED: the check did not notice $what" >&2
        status=1
    else
        echo "differential self-test: noticed $what" >&2
    fi
}
installed=$(awk -F'\t' '$2 != "removed" && $1 ~ /^windows\/system32\// { print $1; exit }' "$work/compare/host-files")
[ -n "$installed" ] || stop "self-test: the run installed nothing in the system directory"
installed=$(cd "$host_c" && find . -ipath "./$installed" -printf '%P\n' | head -n 1)
cp "$host_c/$installed" "$work/saved"
# The last byte, changed to its complement.
last=$(($(stat -c %s "$host_c/$installed") - 1))
byte=$(od -An -tu1 -j "$last" -N1 "$host_c/$installed" | tr -d ' ')
printf "\\$(printf '%03o' $((255 - byte)))" | dd of="$host_c/$installed" bs=1 seek="$last" conv=notrunc status=none
noticed "one changed byte of $installed"
cp "$work/saved" "$host_c/$installed"

system_ini=$(ini_file "$(windows_of "$host_c")" system.ini)
cp "$system_ini" "$work/saved"
sed -i 's/^device=TLPM\.386/device=TLPM2.386/I' "$system_ini"
cmp -s "$system_ini" "$work/saved" && stop "self-test: SYSTEM.INI has no device=TLPM.386 line to change"
noticed "one changed SYSTEM.INI line"
cp "$work/saved" "$system_ini"

cp "$work/host.jsonl" "$work/saved"
jq -c 'if .event == "message" then .text += " " else . end' "$work/saved" >"$work/host.jsonl"
noticed "one changed message text in the transcript"
cp "$work/saved" "$work/host.jsonl"

compare_all 2>/dev/null || { echo "SELF-TEST FAILED: the restored results differ" >&2; status=1; }
exit "$status"
