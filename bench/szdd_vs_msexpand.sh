#!/usr/bin/env bash
# Expands the same 16 MiB SZDD file with the LZ port and with msexpand, side by side, and prints
# the best of RUNS wall-clock times of each and their ratio. Builds an optimised benchmark in its
# own build folder (warnings not fatal, so a compiler's optimiser-only warning elsewhere cannot
# stop a measurement).
#   bench/szdd_vs_msexpand.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
command -v msexpand >/dev/null || { echo "msexpand is not installed (package mscompress)" >&2; exit 1; }
cmake -S . -B build/bench-szdd -G Ninja -DCMAKE_BUILD_TYPE=Release -DTL_WERROR=OFF -DTL_TESTS=OFF \
    >/dev/null
cmake --build build/bench-szdd -j2 --target bench_szdd_expand >/dev/null
bench=build/bench-szdd/bin/bench_szdd_expand
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bench" --make "$work/SAMPLE.BIN" "$work/SAMPLE.BI_"

# "wall cpu" seconds: the best of $runs runs of "$@" (CPU = user + system, which shows the
# work done even when other jobs share the machine).
best() {
    local TIMEFORMAT='%R %U %S'
    for _ in $(seq "$runs"); do
        { time "$@"; } 2>&1
    done | awk 'NR == 1 || $1 < w { w = $1 } NR == 1 || $2 + $3 < c { c = $2 + $3 }
                END { printf "%.3f %.3f", w, c }'
}
port() { "$bench" --expand "$work/SAMPLE.BI_" "$work/port.out"; }
ms() { msexpand < "$work/SAMPLE.BI_" > "$work/ms.out"; }

read -r wall_port cpu_port <<<"$(best port)"
read -r wall_ms cpu_ms <<<"$(best ms)"
cmp "$work/SAMPLE.BIN" "$work/port.out"
cmp "$work/SAMPLE.BIN" "$work/ms.out"
printf 'input %s bytes, compressed %s bytes, best of %s runs\n' "$(stat -c %s "$work/SAMPLE.BIN")" \
    "$(stat -c %s "$work/SAMPLE.BI_")" "$runs"
awk -v pw="$wall_port" -v pc="$cpu_port" -v mw="$wall_ms" -v mc="$cpu_ms" 'BEGIN {
    printf "           wall s   cpu s\n"
    printf "LZ port   %7.3f %7.3f\n", pw, pc
    printf "msexpand  %7.3f %7.3f\n", mw, mc
    printf "ratio port/msexpand: wall %.2f, cpu %.2f\n", pw / mw, pc / mc
}'
