#!/usr/bin/env bash
# Installs the Debian packages a purpose needs, when any is missing.
#
# Usage: scripts/deps.sh [PURPOSE...]   (none: every purpose)
#   host      build the host programs and run their tests (the demo needs only this)
#   windows   cross-build the Windows programs and run their tests under Wine
#   tools     the developer tools: the fuzzing build (clang) and clang-format
#   measure   the measures of the host tests: coverage (gcovr) and mutants (scripts/mutants.sh)
set -euo pipefail

host=(
    cmake g++ make ninja-build pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    libmspack-dev mscompress
    nlohmann-json3-dev
    jq mtools
)
windows=(
    g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32 mingw-w64-tools googletest icoutils
    wine wine64 xvfb xauth fonts-nanum
)
tools=(
    clang libclang-rt-14-dev clang-format
)
measure=(
    gcovr rsync
)

purposes=("$@")
[ ${#purposes[@]} -gt 0 ] || purposes=(host windows tools measure)
packages=()
for purpose in "${purposes[@]}"; do
    case $purpose in
    host) packages+=("${host[@]}") ;;
    windows) packages+=("${windows[@]}") ;;
    tools) packages+=("${tools[@]}") ;;
    measure) packages+=("${measure[@]}") ;;
    *)
        echo "usage: scripts/deps.sh [host|windows|tools|measure]..." >&2
        exit 2
        ;;
    esac
done

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "installing: ${missing[*]}" >&2
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
