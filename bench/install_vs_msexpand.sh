#!/usr/bin/env bash
# The whole unattended install of the sample disk (examples/disk, default answers: English,
# Telmora LP 600, the demonstration page, every font) on a fresh machine folder, against the same
# files expanded with msexpand and copied with cp into an empty folder tree: the best of RUNS
# wall-clock and CPU times of each and their ratio. Each run starts from a fresh copy of the same
# PC, made outside the timing. The installed files are compared with msexpand's.
# Builds optimised programs in their own build folder (warnings not fatal).
#   bench/install_vs_msexpand.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-10}
command -v msexpand >/dev/null || { echo "msexpand is not installed (package mscompress)" >&2; exit 1; }
cmake -S . -B build/bench-install -G Ninja -DCMAKE_BUILD_TYPE=Release -DTL_WERROR=OFF \
    -DTL_TESTS=OFF >/dev/null
cmake --build build/bench-install -j2 --target tlins32a tlmachine >/dev/null
bin=build/bench-install/bin
disk=examples/disk
src=$disk/WIN95
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
examples/machine/make-machine.sh "$bin/tlmachine" "$work/template"

# What the default install puts where: stored name on the disk, folder, name on the target.
files=(
    "TL600.DR_ SYSTEM TL600.DRV" "TLCORE.DL_ SYSTEM TLCORE.DLL" "TLPM.386 SYSTEM TLPM.386"
    "LPT.B_ SYSTEM LPT.BZ" "TLDEMO.PRN SYSTEM TLDEMO.PRN" "TLLMON.DL_ SYSTEM TLLMON.DLL"
    "TLPROC.DL_ SYSTEM TLPROC.DLL" "TLRESENU.DL_ SYSTEM TLRES.DLL" "TLPRN.HL_ SYSTEM TLPRN.HLP"
    "TLMJ.TT_ FONTS TLMJ.TTF" "TLMJB.TT_ FONTS TLMJB.TTF" "TLGT.TT_ FONTS TLGT.TTF"
    "TLGS.TT_ FONTS TLGS.TTF"
)

install() {
    "$bin/tlins32a" --machine "$work/pc" --disk "$disk" --transcript "$work/run.jsonl" \
        </dev/null >/dev/null 2>"$work/install.err"
}
copy() {
    local stored folder target
    for entry in "${files[@]}"; do
        read -r stored folder target <<<"$entry"
        if [ "${stored: -1}" = "_" ]; then
            msexpand <"$src/$stored" >"$work/copy/$folder/$target"
        else
            cp "$src/$stored" "$work/copy/$folder/$target"
        fi
    done
}

# Prints "wall cpu" seconds of one run of "$@" (CPU = user + system of the shell's children).
timed() {
    local TIMEFORMAT='%R %U %S'
    { time "$@"; } 2>&1 | awk '{ printf "%.4f %.4f\n", $1, $2 + $3 }'
}
# "wall cpu": the best of each over the lines on standard input.
best() { awk 'NR == 1 || $1 < w { w = $1 } NR == 1 || $2 < c { c = $2 } END { print w, c }'; }

for _ in $(seq "$runs"); do
    rm -rf "$work/pc"
    cp -a "$work/template" "$work/pc"
    timed install
done | best >"$work/install.best"
status=0
install || status=$?

for _ in $(seq "$runs"); do
    rm -rf "$work/copy"
    mkdir -p "$work/copy/SYSTEM" "$work/copy/FONTS"
    timed copy
done | best >"$work/copy.best"

installed=0
for entry in "${files[@]}"; do
    read -r stored folder target <<<"$entry"
    cmp -s "$work/copy/$folder/$target" "$work/pc/drive_c/WINDOWS/$folder/$target" &&
        installed=$((installed + 1))
done
read -r wall_install cpu_install <"$work/install.best"
read -r wall_copy cpu_copy <"$work/copy.best"
stored_bytes=0
for entry in "${files[@]}"; do
    read -r stored folder target <<<"$entry"
    stored_bytes=$((stored_bytes + $(stat -c %s "$src/$stored")))
done
printf '%s files, %s bytes on the disk, %s bytes installed; best of %s runs\n' "${#files[@]}" \
    "$stored_bytes" "$(du -cb "$work"/copy/*/* | tail -1 | cut -f1)" "$runs"
printf 'tlins32a exit code %s; %s of %s files installed with the same bytes as msexpand gives\n' \
    "$status" "$installed" "${#files[@]}"
awk -v iw="$wall_install" -v ic="$cpu_install" -v cw="$wall_copy" -v cc="$cpu_copy" 'BEGIN {
    printf "                          wall s   cpu s\n"
    printf "install (tlins32a)       %7.4f %7.4f\n", iw, ic
    printf "msexpand + cp            %7.4f %7.4f\n", cw, cc
    printf "ratio install/msexpand:  wall %.2f, cpu %.2f\n", iw / cw, ic / cc
}'
