#!/usr/bin/env bash
# Runs a Windows program under Wine, quietly and without a display, in a Wine prefix kept in the
# build tree (TL_WINEPREFIX, else ./wineprefix). The first run creates the prefix; Wine's Mono
# and Gecko installers are not wanted and are switched off.
# TL_WINE_VERSION (e.g. win95) makes Wine present that Windows version to this program, as
# Wine's per-program setting in the prefix's registry.
set -euo pipefail
export WINEPREFIX="${TL_WINEPREFIX:-$PWD/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
unset DISPLAY

if [ -n "${TL_WINE_VERSION:-}" ]; then
    program="$(basename "$1")"
    key="Software\\Wine\\AppDefaults\\$program"
    # The setting is written once; user.reg keeps it for the runs after.
    if ! grep -qiF "[Software\\\\Wine\\\\AppDefaults\\\\$program]" "$WINEPREFIX/user.reg" 2>/dev/null; then
        wine reg add "HKCU\\$key" /v Version /d "$TL_WINE_VERSION" /f >/dev/null 2>&1
    fi
fi
exec wine "$@"
