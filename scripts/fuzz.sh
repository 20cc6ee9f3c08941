#!/usr/bin/env bash
# Builds the fuzz preset (clang, libFuzzer, ASan+UBSan) and runs every fuzz target for SECONDS
# seconds each (per target, one process at a time), starting from its committed seeds in
# tests/fuzz/corpus/<target>/. New inputs go to build/fuzz/corpus/<target>/ (kept between runs,
# never into the committed seeds); crashes, leaks and hangs to build/fuzz/artifacts/. Prints the
# executions of each target and the total; exits 1 when any target found something.
#
# Usage: scripts/fuzz.sh SECONDS [TARGET...]    (TARGET: e.g. ini_text; default: all)
# On a shared machine run it under nice: nice -n 15 scripts/fuzz.sh 60
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ $# -lt 1 || ! $1 =~ ^[0-9]+$ ]]; then
    echo "usage: scripts/fuzz.sh SECONDS [TARGET...]" >&2
    exit 2
fi
seconds=$1
shift

cmake --preset fuzz >/dev/null
if [[ $# -gt 0 ]]; then
    targets=("$@")
else
    targets=()
    for source in tests/fuzz/*.cpp; do
        targets+=("$(basename "$source" .cpp)")
    done
fi
cmake --build --preset fuzz -j "$(nproc)" --target "${targets[@]/#/fuzz_}"

mkdir -p build/fuzz/artifacts build/fuzz/logs
total=0
failed=()
printf '%-22s %14s %10s\n' target executions exec/s
for target in "${targets[@]}"; do
    seeds=tests/fuzz/corpus/$target
    work=build/fuzz/corpus/$target
    mkdir -p "$work"
    corpora=("$work")
    [[ -d $seeds ]] && corpora+=("$seeds")
    log=build/fuzz/logs/$target.log
    status=0
    build/fuzz/bin/"fuzz_$target" "${corpora[@]}" -max_total_time="$seconds" -timeout=10 \
        -print_final_stats=1 -artifact_prefix="build/fuzz/artifacts/$target-" >"$log" 2>&1 ||
        status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    runs=${runs:-0}
    total=$((total + runs))
    printf '%-22s %14d %10d' "$target" "$runs" $((runs / (seconds > 0 ? seconds : 1)))
    if [[ $status -ne 0 ]]; then
        failed+=("$target")
        printf '  FOUND SOMETHING: see %s' "$log"
    fi
    printf '\n'
done
printf '%-22s %14d\n' total "$total"
if [[ ${#failed[@]} -gt 0 ]]; then
    echo "fuzz: findings in ${failed[*]} (inputs in build/fuzz/artifacts/)" >&2
    exit 1
fi
