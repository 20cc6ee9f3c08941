#!/usr/bin/env bash
# Builds tlinf and shows the sample install disk's INSTALL.INF as the installer reads it:
# the settings and switches it takes at start, the font lists, and a piece of the compacted
# buffer. Usage: scripts/demo.sh [SCRIPT]   (default: examples/disk/INSTALL.INF)
set -euo pipefail
cd "$(dirname "$0")/.."

# Runs a build step quietly, showing its output only when it fails.
quiet() {
    local log
    if ! log=$("$@" 2>&1); then
        printf '%s\n' "$log" >&2
        echo "demo: '$*' failed" >&2
        exit 1
    fi
}

scripts/deps.sh
echo "building tlinf in build/default ..." >&2
quiet cmake --preset default
quiet cmake --build --preset default -j "$(nproc)" --target tlinf

tlinf=build/default/bin/tlinf
script=${1:-examples/disk/INSTALL.INF}

# Prints one labelled result; a missing section or key shows as "(none)".
show() {
    local label=$1
    shift
    local value
    if value=$("$tlinf" "$@" 2>/dev/null); then
        printf '  %-44s %s\n' "$label" "$value"
    else
        printf '  %-44s %s\n' "$label" "(none)"
    fi
}

first_line() { "$tlinf" section "$script" "$1" 2>/dev/null | head -n 1; }
show_first() { printf '  %-44s %s\n' "$1" "$(first_line "$2" || true)"; }

section() {
    local name=$1
    local count
    count=$("$tlinf" count "$script" "$name")
    printf '\n[%s]: %s line(s)\n' "$name" "$count"
    if [ "$count" -gt 0 ]; then
        "$tlinf" section "$script" "$name" | sed 's/^/    /'
    fi
}

# Fails early, with tlinf's own message, when the script cannot be read.
"$tlinf" compact "$script" >/dev/null

printf '%s as the installer reads it\n\n' "$script"
echo "Read at start:"
show_first "settings file (first line of [PRIVATE.INI])" PRIVATE.INI
show_first "catalogue (first line of [OEM.INF])" OEM.INF
show "driver folder (PRINTERDRIVER.PATH)" dotted "$script" PRINTERDRIVER.PATH
show "space needed in KB ([NEEDED.DiskSpace])" field "$script" NEEDED.DiskSpace 0 1
show "restart mode ([REBOOTSYSTEM])" field "$script" REBOOTSYSTEM 0 1
show "port-driver lines ([VxD])" count "$script" VxD
show "port-driver message (key message of [VxD])" key "$script" VxD message
show "demonstration file (key file of [DEMOFILE])" key "$script" DEMOFILE file

echo
echo "Fonts:"
show "offered (TRUETYPEFONTS.FONTLIST)" dotted "$script" TRUETYPEFONTS.FONTLIST
fonts=$("$tlinf" dotted "$script" TRUETYPEFONTS.FONTLIST 2>/dev/null || true)
IFS=',' read -r -a names <<<"$fonts"
for name in "${names[@]}"; do
    show "$name: KB, place" key "$script" NEEDED.SPACE "$name"
    show "$name: first file" field "$script" "$name.TrueType" 0 1
    show "$name: its registry name" field "$script" "$name.TrueType" 0 2
done

section DISK1
section DeleteIni

echo
echo "Compacted buffer, first 240 characters (\\0 ends a line; \\0\\0 comes before a header):"
"$tlinf" compact "$script" | cut -c1-240 | sed 's/^/    /'
