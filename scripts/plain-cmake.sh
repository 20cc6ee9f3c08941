#!/usr/bin/env bash
# The README's plain CMake, as a newcomer types it: no preset, the default generator (Unix
# Makefiles), no build type, no sanitizers. CI runs it after the preset builds.
#
# Usage: scripts/plain-cmake.sh [BUILD_DIR]   (default build/plain)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/plain}
start=$SECONDS
# A clean folder each time: a stale cache would hide a generator's fault.
rm -rf "$build"
cmake -S . -B "$build" >/dev/null
grep -q '^CMAKE_GENERATOR:INTERNAL=Unix Makefiles$' "$build/CMakeCache.txt" || {
    echo "plain-cmake: the default generator is not Unix Makefiles" >&2
    exit 1
}
cmake --build "$build" -j "$(nproc)" -- --no-print-directory >/dev/null
ctest --test-dir "$build" -j "$(nproc)" --output-on-failure
echo "plain-cmake: built and tested in $((SECONDS - start)) s" >&2
