#!/usr/bin/env bash
# Makes the sample install disk's generated files (drivers, libraries, fonts, tag files, the
# compressed copies) in examples/disk from examples/disk-source/disk.ini. INSTALL.INF and the
# catalogue are written by hand and left as they are. Commit the result: the test suite checks
# that examples/disk is exactly what this makes.
# Usage: scripts/make-sample-disk.sh [--check]
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
if ! log=$(cmake --preset default 2>&1 && cmake --build --preset default -j 2 --target tlmkdisk 2>&1); then
    printf '%s\n' "$log" >&2
    echo "make-sample-disk: building tlmkdisk failed" >&2
    exit 1
fi

if [ "${1:-}" = "--check" ]; then
    exec build/default/bin/tlmkdisk --check examples/disk-source/disk.ini examples/disk
fi
build/default/bin/tlmkdisk examples/disk-source/disk.ini examples/disk
