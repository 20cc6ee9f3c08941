#!/usr/bin/env bash
# Builds the host programs with ASan+UBSan and -Werror and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)"
ctest --preset default
