#!/usr/bin/env bash
# Line and branch coverage of src/ by the host suite.
#
# Usage: scripts/coverage.sh
#
# Builds the coverage preset (Debug with gcov counters, no sanitizers, no benchmarks) in
# build/coverage, clears the counters of any earlier run, runs the host suite (the coverage test
# preset: everything but the long fault sweep) and prints gcovr's summary for src/ as the host
# build compiles it (the Win32 adapters are not in it). Branches that only an exception or
# nothing at all can take are left out of the branch figure. The report, file by file, is in
# build/coverage/coverage/index.html.
#
# Environment: TL_JOBS  build and test jobs (default 2)
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${TL_JOBS:-2}
scripts/deps.sh host measure

cmake --preset coverage >/dev/null
nice -n 19 cmake --build --preset coverage -j "$jobs"
find build/coverage -name '*.gcda' -delete
nice -n 19 ctest --preset coverage -j "$jobs" >build/coverage/test.log 2>&1 || {
    tail -30 build/coverage/test.log >&2
    echo "coverage.sh: the host suite fails; no figures" >&2
    exit 1
}
grep -E '^[0-9]+% tests passed' build/coverage/test.log >&2

mkdir -p build/coverage/coverage
nice -n 19 gcovr --root . --object-directory build/coverage --filter 'src/' \
    --exclude-throw-branches --exclude-unreachable-branches -j "$jobs" \
    --html-details build/coverage/coverage/index.html --print-summary build/coverage
