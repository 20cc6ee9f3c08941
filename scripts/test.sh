#!/usr/bin/env bash
# Builds the host programs with ASan+UBSan and -Werror and runs every test; then cross-builds the
# Windows programs (32-bit, the shipping one, and 64-bit) and runs the 64-bit Windows tests under
# Wine; last, the plain CMake a newcomer types (the default generator, no preset) builds and
# tests the host programs.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh host windows
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)"
ctest --preset default

for preset in win32 win64; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$(nproc)"
done
ctest --preset win32
ctest --preset win64

scripts/plain-cmake.sh build/plain
