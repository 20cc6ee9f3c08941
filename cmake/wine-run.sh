#!/usr/bin/env bash
# Runs a Windows program under Wine, quietly and without a display, in a Wine prefix kept in the
# build tree (TL_WINEPREFIX, else ./wineprefix beside the current directory). The first run
# creates the prefix; Wine's Mono and Gecko installers are not wanted and are switched off.
set -euo pipefail
export WINEPREFIX="${TL_WINEPREFIX:-$PWD/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
unset DISPLAY
exec wine "$@"
