#!/usr/bin/env bash
# Mutation test of the host suite: how many small faults put into src/ do the tests catch?
#
# Usage: scripts/mutants.sh [COUNT] [SEED]   (defaults: 40 mutants, seed 1)
#
# Copies the tree (without build/ and .git) to a scratch folder, builds the release preset there
# (no sanitizers, no benchmarks) and checks that the host suite passes unchanged. Then, one at a
# time, it puts a mutant in place (scripts/mutant-sites.py picks them: a flipped comparison,
# arithmetic operator, boolean constant or connective, in code only), rebuilds incrementally and
# runs the host suite with a time-out, stopping at the first failing test:
#   killed        a test failed or timed out
#   survived      every test passed
#   not compiled  the build failed (counted apart, not as killed)
# Only .cpp files of src/ that the host build compiles are mutated. The same tree and seed give
# the same mutants. The worktree itself is never changed.
#
# Environment: TL_MUTANT_DIR      the scratch folder (default: $TMPDIR or /tmp, tlins32a-mutants);
#                                 kept between runs, so later builds there are incremental
#              TL_MUTANT_TIMEOUT  seconds a test may take (default 120)
#              TL_JOBS            build and test jobs (default 2)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
count=${1:-40}
seed=${2:-1}
[[ $count =~ ^[0-9]+$ && $seed =~ ^[0-9]+$ ]] || {
    echo "usage: scripts/mutants.sh [COUNT] [SEED]" >&2
    exit 2
}
scratch=${TL_MUTANT_DIR:-${TMPDIR:-/tmp}/tlins32a-mutants}
timeout=${TL_MUTANT_TIMEOUT:-120}
jobs=${TL_JOBS:-2}
"$root/scripts/deps.sh" measure
# rsync --delete mirrors the tree into $scratch/tree: the tree may not lie inside the scratch folder.
case "$root/" in
"$(realpath -m "$scratch")"/*)
    echo "mutants.sh: the scratch folder $scratch holds the tree" >&2
    exit 2
    ;;
esac
tree=$scratch/tree
build=$tree/build/release

# Files whose content changed are copied with a new time stamp (no -t), so the build there
# always sees a change, also where an earlier run stopped with a mutant in place.
mkdir -p "$tree"
rsync -rlp --checksum --delete --exclude=/build --exclude=/.git "$root"/ "$tree"/

build_release() {
    nice -n 19 cmake --build "$build" -j "$jobs" >"$scratch/build.log" 2>&1
}
run_suite() {
    nice -n 19 ctest --test-dir "$build" -LE '^sweep$' --stop-on-failure --timeout "$timeout" \
        -j "$jobs" >"$scratch/test.log" 2>&1
}

echo "building the release preset in $tree" >&2
(cd "$tree" && cmake --preset release -DTL_BENCH=OFF -DCMAKE_EXPORT_COMPILE_COMMANDS=ON \
    >"$scratch/configure.log")
build_release || {
    tail -20 "$scratch/build.log" >&2
    echo "mutants.sh: the unchanged tree does not build" >&2
    exit 1
}
start=$SECONDS
run_suite || {
    tail -20 "$scratch/test.log" >&2
    echo "mutants.sh: the host suite fails on the unchanged tree" >&2
    exit 1
}
echo "the unchanged host suite passes in $((SECONDS - start)) s" >&2

# The .cpp files of src/ the host build compiles, relative to the tree.
mapfile -t files < <(cd "$tree" && jq -r '.[].file' "$build/compile_commands.json" |
    sed -n "s|^$tree/\(src/.*\.cpp\)$|\1|p" | sort -u)
mapfile -t mutants < <(cd "$tree" && python3 "$root/scripts/mutant-sites.py" "$count" "$seed" "${files[@]}")

killed=0 survived=0 uncompiled=0
survivors=()
restore() {
    [ -z "${current:-}" ] || cp "$scratch/original" "$tree/$current"
    current=
}
trap restore EXIT
for mutant in "${mutants[@]}"; do
    IFS=$'\t' read -r file line column old new offset found written <<<"$mutant"
    label="$file:$line:$column  $old -> $new"
    cp "$tree/$file" "$scratch/original"
    current=$file
    python3 "$root/scripts/mutant-sites.py" apply "$tree/$file" "$offset" "$found" "$written"
    if ! build_release; then
        outcome="not compiled"
        uncompiled=$((uncompiled + 1))
    elif run_suite; then
        outcome="SURVIVED"
        survived=$((survived + 1))
        survivors+=("$label")
    else
        outcome="killed ($(grep -m1 -oE '[0-9]+ - [^ ]+ \((Failed|Timeout|SEGFAULT|Subprocess aborted|Exception)' \
            "$scratch/test.log" | sed 's/^[0-9]* - //' || true))"
        killed=$((killed + 1))
    fi
    restore
    printf '%-56s %s\n' "$label" "$outcome"
done

compiled=$((killed + survived))
echo
echo "mutants: ${#mutants[@]} (seed $seed)  killed: $killed  survived: $survived  not compiled: $uncompiled"
[ "$compiled" -eq 0 ] || echo "kill rate: $((100 * killed / compiled)) % of the $compiled that compiled"
if [ ${#survivors[@]} -gt 0 ]; then
    echo "survivors:"
    printf '  %s\n' "${survivors[@]}"
fi
