#!/usr/bin/env bash
# The differential check: a case of the scenario list (tests/scenario/cases, docs/testing.md) run
# on the same starting PC by the host build (tlins32a on a machine folder) and by the Windows
# build (tlins32a.exe under Wine on a virtual X display) must leave the same files in the Windows,
# system and font directories, the same WIN.INI, SYSTEM.INI and private settings lines, the same
# font registrations, the same transcript (every message and dialog, in order) and the same exit
# status, after each of the case's runs. The case's disk, answers, command lines and the files
# and INI lines it places come from the host test program (ScenarioCases.DISABLED_Export).
#
# Where Wine itself answers otherwise than Windows 95, exactly that item is left out of the
# comparison, with its entry in docs/wine-differences.md named where it is left out.
#
# usage: scripts/differential.sh [options]
#   --case NAME      the case to run (repeatable; default the three Differential* cases)
#   --host-bin DIR   the host programs tlins32a and tlmachine (default build/default/bin)
#   --test-bin FILE  the host test program that exports a case (default
#                    build/default/tests/test_scenario)
#   --exe FILE       the Windows program (default build/win64/bin/tlins32a.exe)
#   --work DIR       where the PCs and their transcripts stay, a folder a case (default
#                    build/differential)
#   --template DIR   the Wine prefix every case's Wine PC is copied from, made once (default
#                    WORK/template)
#   --self-test      after the first run of each case, show that the check notices one changed
#                    byte of an installed file, one changed INI line and one changed transcript
#                    text on the host side
# Exit status: 0 equal, 1 a difference (each one is listed), 2 the runs could not be made.
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)

host_bin=$source_dir/build/default/bin
test_bin=
exe=$source_dir/build/win64/bin/tlins32a.exe
work=$source_dir/build/differential
template=
cases=()
self_test=0
while [ $# -gt 0 ]; do
    case $1 in
    --case | --host-bin | --test-bin | --exe | --work | --template)
        [ $# -ge 2 ] || { echo "differential: $1 needs a value" >&2; exit 2; }
        case $1 in
        --case) cases+=("$2") ;;
        --host-bin) host_bin=$2 ;;
        --test-bin) test_bin=$2 ;;
        --exe) exe=$2 ;;
        --work) work=$2 ;;
        --template) template=$2 ;;
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
[ ${#cases[@]} -gt 0 ] || cases=(DifferentialGivenAnswersOnAFreshPc DifferentialAllDefaultsOverAnEarlierInstall
    DifferentialEnglishEditionLeavingTheFonts)
test_bin=${test_bin:-$host_bin/../tests/test_scenario}

stop() {
    echo "differential: $*" >&2
    exit 2
}
for program in "$host_bin/tlins32a" "$host_bin/tlmachine"; do
    [ -x "$program" ] || stop "no $program: build the host programs first (cmake --build --preset default)"
done
[ -f "$exe" ] || stop "no $exe: build the Windows program first (cmake --build --preset win64)"
[ -x "$test_bin" ] || stop "no $test_bin: build the host tests first (cmake --build --preset default)"
for tool in wine xvfb-run jq sha256sum flock; do
    command -v "$tool" >/dev/null || stop "$tool is missing (scripts/deps.sh installs it)"
done
exe=$(realpath "$exe")
mkdir -p "$work"
work=$(realpath "$work")
template=${template:-$work/template}
base=$work

# A Windows path for a file on this machine (Wine shows / as drive Z:).
winpath() { printf 'Z:%s' "${1//\//\\}"; }

# --- The starting PC ------------------------------------------------------------------------
# Both PCs start as a fresh Wine prefix is: Windows in C:\windows, the system directory
# C:\windows\system32, Windows 95's version, English dates (Wine takes the C locale it runs in
# for English), Wine's own WIN.INI and SYSTEM.INI, no lpt.vxd (the prefix has none), the
# install disk in drive A:. Both have an ECP port, LPT1: the machine folder's own, and in the
# prefix's registry the entry that Windows 95's configuration manager keeps for one (Wine keeps
# none). Both have the language monitors of the sample and of the tests' standard disk
# registered, as an earlier install of one of their printers leaves them: Wine's spooler refuses
# to register a monitor library itself (docs/wine-differences.md, "AddMonitorA, a 32-bit monitor
# library"), which would fail every Wine install of a model with a monitor; registered, the
# spooler answers "already installed" on both PCs, and the installation goes on.
# tlins32a_under_wine shows the refusal. The case then places its files and INI lines on both.
#
# The Wine PC is a copy of a prefix made once (wineboot takes many seconds; a copy of the files
# made of hard links, a second), which Wine already presents as Windows 95 to TLINS32A.EXE (docs/wine-differences.md, "AddPrinterA, a driver of
# Windows 4.0").
monitor_lines() {
    printf '[%s\\Telmora Language Monitor]\r\n"Driver"="TLLMON.DLL"\r\n\r\n' "$1"
    printf '[%s\\TLMonitor]\r\n"Driver"="TLMON.DLL"\r\n' "$1"
}
monitors='HKEY_LOCAL_MACHINE\System\CurrentControlSet\control\Print\Monitors'
make_template() {
    exec 9>"$template.lock"
    flock 9
    if [ ! -e "$template/.tl-case-ready" ]; then
        rm -rf "$template"
        {
            printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Enum\\BIOS\\*PNP0401\\00]\r\n"Class"="Ports"\r\n"DeviceDesc"="ECP Printer Port"\r\n"PortName"="LPT1"\r\n"Mfg"="(Standard port types)"\r\n\r\n'
            printf '[HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\TLINS32A.EXE]\r\n"Version"="win95"\r\n\r\n'
            monitor_lines "$monitors"
        } >"$template.reg"
        echo "differential: making the Wine PC ..." >&2
        TL_WINEPREFIX=$template "$source_dir/scripts/wine-display-run.sh" regedit /S "$(winpath "$template.reg")" \
            >"$template.log" 2>&1 || stop "the Wine prefix could not be made (see $template.log)"
        grep -qi '^\[Enum\\\\BIOS\\\\\*PNP0401\\\\00\]' "$template/system.reg" ||
            stop "the ECP port did not reach the Wine prefix's registry"
        grep -qi '^\[System\\\\CurrentControlSet\\\\Control\\\\Print\\\\Monitors\\\\TLMonitor\]' \
            "$template/system.reg" || stop "the language monitors did not reach the Wine prefix's registry"
        touch "$template/.tl-case-ready"
    fi
    flock -u 9
}
windows_of() { find "$1" -maxdepth 1 -iname windows -type d | head -n 1; }
# The host file of a case's Windows path ({windows}, {system}, {fonts} or C:\...) below drive
# C: at $1, matching names without regard to case and making the missing directories.
pc_path() {
    local c=$1 path=$2 windows
    windows=$(windows_of "$c")
    path=${path/#\{windows\}/$windows}
    path=${path/#\{system\}/$windows/system32}
    path=${path/#\{fonts\}/$windows/fonts}
    path=${path/#[Cc]:/$c}
    path=${path//\\//}
    local dir=${path%/*} name=${path##*/} at=/ part found
    local IFS=/
    for part in $dir; do
        [ -n "$part" ] || continue
        found=$(find "$at" -maxdepth 1 -iname "$part" -type d 2>/dev/null | head -n 1)
        [ -n "$found" ] || { found=$at/$part; mkdir -p "$found"; }
        at=${found%/}
    done
    found=$(find "$at" -maxdepth 1 -iname "$name" 2>/dev/null | head -n 1)
    printf '%s' "${found:-$at/$name}"
}
# A line first in its section of an INI file (the section added at its end when it has none).
add_ini_line() {
    local file=$1 section=$2 line=$3
    awk -v section="$section" -v line="$line" '
        !done { header = $0; sub(/\r$/, "", header) }
        !done && tolower(header) == tolower(section) { print; printf "%s\r\n", line; done = 1; next }
        { print }
        END { if (!done) printf "%s\r\n%s\r\n", section, line }' "$file" >"$file.new"
    mv "$file.new" "$file"
}

start_pcs() {
    local export=$work/case
    rm -rf "$export"
    mkdir -p "$export"
    TL_CASE=$case TL_CASE_EXPORT=$export "$test_bin" --gtest_also_run_disabled_tests \
        --gtest_filter=ScenarioCases.DISABLED_Export >"$work/export.log" 2>&1 ||
        stop "the case could not be exported (see $work/export.log)"
    make_template
    # Hard links for the prefix's files, which Wine and the installer replace rather than
    # rewrite; the registry files, WIN.INI and SYSTEM.INI (replaced below) are the PC's own.
    cp -al "$template" "$wine_pc"
    local hive
    for hive in "$wine_pc"/*.reg; do
        cp --remove-destination "$template/${hive##*/}" "$hive"
    done
    wine_windows=$(windows_of "$wine_c")
    [ -n "$wine_windows" ] || stop "the Wine prefix has no C:\\windows"

    "$host_bin/tlmachine" init "$host_pc" --lpt-vxd-version none --english --ecp LPT1 >/dev/null
    { printf '\r\n'; monitor_lines "$monitors"; } >>"$host_pc/registry.reg"
    "$host_bin/tlmachine" show "$host_pc" >/dev/null || stop "the host PC's registry is broken"
    sed -i 's/^WindowsDirectory=.*/WindowsDirectory=C:\\windows/; s/^SystemDirectory=.*/SystemDirectory=C:\\windows\\system32/' \
        "$host_pc/machine.ini"
    host_windows=$(windows_of "$host_c")
    mkdir -p "$host_windows/system32"
    local name file
    for name in win.ini system.ini; do
        file=$(find "$wine_windows" -maxdepth 1 -iname "$name" | head -n 1)
        [ -n "$file" ] || stop "the Wine prefix has no $name"
        cp "$file" "$work/start-$name"
    done
    local path section line
    while IFS=$'\t' read -r path section line; do
        case ${path,,} in
        '{windows}\win.ini') add_ini_line "$work/start-win.ini" "$section" "$line" ;;
        '{windows}\system.ini') add_ini_line "$work/start-system.ini" "$section" "$line" ;;
        *) stop "the case adds a line to $path: only WIN.INI and SYSTEM.INI are compared" ;;
        esac
    done <"$export/ini.lst"
    # Both PCs' files were last written at the same time, long before the runs.
    touch -d '1996-08-24 12:00:00 UTC' "$work/start-win.ini" "$work/start-system.ini"
    for name in win.ini system.ini; do
        find "$wine_windows" "$host_windows" -maxdepth 1 -iname "$name" -delete
        cp -p "$work/start-$name" "$wine_windows/$name"
        cp -p "$work/start-$name" "$host_windows/$name"
    done
    local number target
    while IFS=$'\t' read -r path number; do
        for target in "$(pc_path "$wine_c" "$path")" "$(pc_path "$host_c" "$path")"; do
            cp "$export/place-$number" "$target"
            touch -d '1996-08-24 12:00:00 UTC' "$target"
        done
    done <"$export/place.lst"

    # The install disk, with the Windows program on it, is drive A: of both PCs.
    cp -a "$export/disk" "$work/disk"
    cp "$exe" "$work/disk/TLINS32A.EXE"
    # The disk's files were written long before the runs: a file the run copies with its time
    # kept then never shows the second it was exported in, which may be the run's own.
    find "$work/disk" -exec touch -d '1996-08-24 12:00:00 UTC' {} +
    rm -f "$wine_pc/dosdevices/a:"
    ln -s "$work/disk" "$wine_pc/dosdevices/a:"
    private_ini=$(awk '/^\[/ { in_section = (toupper($0) ~ /^\[PRIVATE\.INI\]/); next }
        in_section && $0 !~ /^[ \t]*(;|$)/ { gsub(/[ \t\r]/, ""); print; exit }' "$work/disk/INSTALL.INF")
    private_ini=${private_ini:-tlsetup.ini}
    cp "$host_pc/machine.ini" "$work/machine.ini"
}

# --- Snapshots ------------------------------------------------------------------------------
# A file's identity before a run: its inode, size and both times (a file the run replaces or
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

# --- The runs -------------------------------------------------------------------------------
# The free space a dialog first showed for a drive, in the 1,000-byte units it shows.
shown_free() { jq -r 'select(.event == "dialog") | .opened.controls["125"].text // empty' "$1" | head -n 1; }

# Installs the disk with ANSWERS (and the COMMAND line, when there is one) on both PCs as they
# stand; what both runs did stays in $work/RUN.
install_on_both() {
    local run=$1 answers=$2 command=$3
    local extra=()
    [ -z "$command" ] || read -r -a extra <<<"-- $command"
    local dir=$work/$run
    mkdir -p "$dir"
    cp "$answers" "$dir/answers.ini"
    listing "$wine_c" >"$dir/wine-before.lst"
    listing "$host_c" >"$dir/host-before.lst"
    fonts_key_wine "$wine_pc/system.reg" >"$dir/wine-fonts-before.lst"
    fonts_key_host "$host_pc/registry.reg" >"$dir/host-fonts-before.lst"

    echo "differential: $run: installing under Wine ..." >&2
    date +%s >"$dir/wine-start"
    local status=0
    # Wine presents Windows 95 to the installer, as the host PC's machine.ini does: Wine's
    # spooler then keeps the printers of the "Windows 4.0" environment (docs/wine-differences.md,
    # "AddPrinterA, a driver of Windows 4.0").
    TL_WINE_VERSION=win95 timeout 300 "$source_dir/scripts/wine-display-run.sh" 'A:\TLINS32A.EXE' \
        --answers "$(winpath "$dir/answers.ini")" --transcript "$(winpath "$dir/wine.jsonl")" \
        "${extra[@]}" >"$dir/wine.log" 2>&1 || status=$?
    echo "$status" >"$dir/wine-status"
    [ -s "$dir/wine.jsonl" ] ||
        stop "$run: the Windows program wrote no transcript (exit status $status, see $dir/wine.log)"
    fonts_key_wine "$wine_pc/system.reg" >"$dir/wine-fonts-after.lst"

    # Wine reports the free space of the Linux file system under the prefix, which moves with
    # whatever else this machine writes. The host PC is given the free space the Wine PC
    # showed: a first host run on a copy finds how much the installer writes before the figure
    # is shown.
    cp "$work/machine.ini" "$host_pc/machine.ini"
    local wine_free
    wine_free=$(shown_free "$dir/wine.jsonl")
    if [ -n "$wine_free" ]; then
        local large=1000000000000
        rm -rf "$work/calibration"
        cp -a "$host_pc" "$work/calibration"
        printf '[Drive.C]\nFreeBytes=%s\n' "$large" >>"$work/calibration/machine.ini"
        "$host_bin/tlins32a" --machine "$work/calibration" --disk "$work/disk" \
            --answers "$dir/answers.ini" --transcript "$dir/calibration.jsonl" "${extra[@]}" \
            >/dev/null 2>&1 </dev/null || true
        local calibration_free
        calibration_free=$(shown_free "$dir/calibration.jsonl")
        [ -n "$calibration_free" ] || stop "$run: the host run on the copy showed no free space"
        printf '[Drive.C]\nFreeBytes=%s\n' $((wine_free * 1000 + large - calibration_free * 1000)) \
            >>"$host_pc/machine.ini"
    fi

    echo "differential: $run: installing on the host ..." >&2
    date +%s >"$dir/host-start"
    status=0
    "$host_bin/tlins32a" --machine "$host_pc" --disk "$work/disk" --answers "$dir/answers.ini" \
        --transcript "$dir/host.jsonl" "${extra[@]}" >"$dir/host.log" 2>&1 </dev/null || status=$?
    echo "$status" >"$dir/host-status"
}

# --- The comparison -------------------------------------------------------------------------
# What a run changed on drive C:, one line a file: its path in lower case, the hash of what it
# holds now and its last-write time: the second it shows when that is older than the run (a
# time carried over from the disk or kept from before), else "written by the run" ("removed"
# when the file is gone). WIN.INI, SYSTEM.INI and the private settings file are compared by
# their lines below; any other INI file's hash is that of its lines.
changed_files() {
    local root=$1 before=$2 started=$3
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
                continue
            fi
            local written
            written=$(stat -c %Y "$root/$path")
            [ "$written" -lt "$started" ] || written="written by the run"
            # Another INI file (a settings file handed over) by its lines, as the INI files below.
            local hash
            case $lower in
            *.ini) hash=$(ini_lines "$root/$path" | sha256sum | cut -d' ' -f1) ;;
            *) hash=$(sha256sum <"$root/$path" | cut -d' ' -f1) ;;
            esac
            printf '%s\t%s\t%s\n' "$lower" "$hash" "$written"
        done | sort
}

# An INI file's lines as Windows reads them: section and key names in lower case (Windows
# ignores their case), values and comments as they stand. Blank lines are left out: Wine's
# profile functions start a new section without the blank line Windows 95 puts before it
# (docs/wine-differences.md, "WriteProfileStringA, new section"). With a second argument, the
# printer entries that the spooler keeps in WIN.INI are left out as well: Wine's spooler keeps
# them in the registry (docs/wine-differences.md, "AddPrinterA, WIN.INI entries").
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

# The transcript's events in order, without the milliseconds a timer fired at. The version
# check of a virtual device driver (.386) shows no versions under Wine, which reads none from
# such a file (docs/wine-differences.md, "GetFileVersionInfoSizeA, LE images"): in that
# dialog's text, the version lines are left out on both sides. The disk prompt's drive list
# leaves out Wine's drive Z: and its drive text is compared in lower case
# (docs/wine-differences.md, "DlgDirListComboBoxA, drives").
transcript_events() {
    jq -c 'del(.time)
        | if .event == "dialog" and .template == "SELECTDRIVE"
          then (.opened, .closed) |= (if . == null then . else
                   .controls |= with_entries(.value |= ((if .items then .items -= ["[-z-]"] else . end)
                       | (if (.text // "") | test("^[A-Za-z]:\\\\$") then .text |= ascii_downcase else . end)))
                   end)
          else . end
        | if .event == "dialog" and .template == "VER_CHECK"
             and ((.opened.controls["120"].text // "") | test("^ *[^ ]+\\.386 "; "i"))
          then (.opened, .closed) |= (if . == null then . else
                   .controls["120"].text |= gsub("\n {6}[^\n]+"; "\n ") end)
          else . end' "$1"
}

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
# Compares what both PCs show now with what they showed before RUN.
compare_run() {
    local run=$1
    local dir=$work/$run
    local out=$dir/compare
    failures=0
    rm -rf "$out"
    mkdir -p "$out"
    local host_windows_now
    host_windows_now=$(windows_of "$host_c")
    compare "$run: exit status" "$dir/wine-status" "$dir/host-status"

    transcript_events "$dir/wine.jsonl" >"$out/wine-transcript" || echo "(broken transcript)" >>"$out/wine-transcript"
    transcript_events "$dir/host.jsonl" >"$out/host-transcript" || echo "(broken transcript)" >>"$out/host-transcript"
    compare "$run: transcript" "$out/wine-transcript" "$out/host-transcript"
    # Two runs that both broke off would compare equal: each must have come to its end.
    local side
    for side in wine host; do
        if ! tail -n 1 "$out/$side-transcript" | jq -e '.event == "end"' >/dev/null 2>&1; then
            echo "DIFFERS: $run: the $side run's transcript does not end with its end event" >&2
            failures=$((failures + 1))
        fi
    done

    changed_files "$wine_c" "$dir/wine-before.lst" "$(cat "$dir/wine-start")" >"$out/wine-files"
    changed_files "$host_c" "$dir/host-before.lst" "$(cat "$dir/host-start")" >"$out/host-files"
    compare "$run: files changed on C:" "$out/wine-files" "$out/host-files"

    ini_lines "$(ini_file "$wine_windows" win.ini)" spooler >"$out/wine-win.ini"
    ini_lines "$(ini_file "$host_windows_now" win.ini)" spooler >"$out/host-win.ini"
    compare "$run: WIN.INI lines" "$out/wine-win.ini" "$out/host-win.ini"
    ini_lines "$(ini_file "$wine_windows" system.ini)" >"$out/wine-system.ini"
    ini_lines "$(ini_file "$host_windows_now" system.ini)" >"$out/host-system.ini"
    compare "$run: SYSTEM.INI lines" "$out/wine-system.ini" "$out/host-system.ini"
    # The removal record of the previous default printer holds WIN.INI's [windows] device=,
    # which Wine's spooler never writes (docs/wine-differences.md, "AddPrinterA, WIN.INI
    # entries"): its value is left out, the record itself compared.
    ini_lines "$(ini_file "$wine_windows" "$private_ini")" | sed 's/=DefaultPrinter|.*/=DefaultPrinter|.../' >"$out/wine-private.ini"
    ini_lines "$(ini_file "$host_windows_now" "$private_ini")" | sed 's/=DefaultPrinter|.*/=DefaultPrinter|.../' >"$out/host-private.ini"
    compare "$run: $private_ini lines" "$out/wine-private.ini" "$out/host-private.ini"

    # Font registrations: the values the run added to or changed in the installed-fonts key.
    comm -13 "$dir/wine-fonts-before.lst" "$dir/wine-fonts-after.lst" >"$out/wine-fonts"
    fonts_key_host "$host_pc/registry.reg" | comm -13 "$dir/host-fonts-before.lst" - >"$out/host-fonts"
    compare "$run: font registrations" "$out/wine-fonts" "$out/host-fonts"
    return "$failures"
}
agreed() {
    local out=$work/$1/compare
    echo "differential: $case: $1: host and Windows builds agree ($(wc -l <"$out/host-transcript") transcript events, $(wc -l <"$out/host-files") files changed, $(wc -l <"$out/host-fonts") fonts registered)" >&2
}

# --- Self-test ------------------------------------------------------------------------------
# Each change to the host PC's results of RUN must be noticed; each is undone before the next.
self_test_run() {
    local run=$1
    local result=0
    noticed() {
        if compare_run "$run" 2>/dev/null; then
            echo "SELF-TEST FAILED: the check did not notice $1" >&2
            result=1
        else
            echo "differential self-test: noticed $1" >&2
        fi
    }
    local installed
    installed=$(awk -F'\t' '$2 != "removed" && $1 ~ /^windows\/system32\// { print $1; exit }' "$work/$run/compare/host-files")
    [ -n "$installed" ] || stop "self-test: the run installed nothing in the system directory"
    installed=$(cd "$host_c" && find . -ipath "./$installed" -printf '%P\n' | head -n 1)
    cp -p "$host_c/$installed" "$work/saved"
    # The last byte, changed to its complement.
    local last byte
    last=$(($(stat -c %s "$host_c/$installed") - 1))
    byte=$(od -An -tu1 -j "$last" -N1 "$host_c/$installed" | tr -d ' ')
    printf "\\$(printf '%03o' $((255 - byte)))" |
        dd of="$host_c/$installed" bs=1 seek="$last" conv=notrunc status=none
    touch -r "$work/saved" "$host_c/$installed"
    noticed "one changed byte of $installed"
    cp -p "$work/saved" "$host_c/$installed"

    local system_ini
    system_ini=$(ini_file "$(windows_of "$host_c")" system.ini)
    cp -p "$system_ini" "$work/saved"
    sed -i 's/^device=TLPM\.386/device=TLPM2.386/I' "$system_ini"
    cmp -s "$system_ini" "$work/saved" && stop "self-test: SYSTEM.INI has no device=TLPM.386 line to change"
    noticed "one changed SYSTEM.INI line"
    cp -p "$work/saved" "$system_ini"

    local transcript=$work/$run/host.jsonl
    cp -p "$transcript" "$work/saved"
    jq -c 'if .event == "message" then .text += " " else . end' "$work/saved" >"$transcript"
    noticed "one changed message text in the transcript"
    cp -p "$work/saved" "$transcript"

    compare_run "$run" 2>/dev/null || { echo "SELF-TEST FAILED: the restored results differ" >&2; result=1; }
    return "$result"
}

# --- The check ------------------------------------------------------------------------------
# Each case on PCs of its own, its runs one after the other on what the one before left.
run_case() {
    case=$1
    local file=$source_dir/tests/scenario/cases/$case.case
    [ -f "$file" ] || stop "no case $case"
    grep -q '^host-only:' "$file" && stop "$case is a host-only case"
    # The Wine PC has an ECP port on LPT1 and English dates; anything else tlmachine would set up
    # makes a host-only case.
    grep '^machine:' "$file" | grep -vqE '^machine: (--ecp LPT1|--english)$' &&
        stop "$case sets up its PC with tlmachine options the Wine PC cannot have"
    work=$base/cases/$case
    rm -rf "$work"
    mkdir -p "$work"
    wine_pc=$work/wine
    host_pc=$work/host
    wine_c=$wine_pc/drive_c
    host_c=$host_pc/drive_c
    export TL_WINEPREFIX=$wine_pc
    start_pcs
    local status=0 n=1
    while [ -f "$work/case/run-$n.ini" ]; do
        install_on_both "run-$n" "$work/case/run-$n.ini" "$(cat "$work/case/run-$n.cmd")"
        if compare_run "run-$n"; then
            agreed "run-$n"
            if [ "$self_test" = 1 ] && [ "$n" = 1 ]; then
                self_test_run "run-$n" || status=1
            fi
        else
            status=1
        fi
        n=$((n + 1))
    done
    return "$status"
}
status=0
started=$(date +%s)
for name in "${cases[@]}"; do
    (run_case "$name") || { code=$?; [ "$code" -gt "$status" ] && status=$code; }
done
echo "differential: ${#cases[@]} case(s) in $(($(date +%s) - started)) s" >&2
exit "$status"
