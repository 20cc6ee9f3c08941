#!/usr/bin/env bash
# Runs a Windows program that shows windows under Wine on a virtual X display (Xvfb), in a Wine
# prefix of its own (TL_WINEPREFIX, else ./wineprefix-display). The first run makes the prefix,
# tells Wine not to hand its windows to a window manager (Xvfb has none, and Wine would wait two
# seconds for one each time a window is hidden), and links the system's dialog and caption fonts
# to a Korean one (fonts-nanum), as a Windows with Korean support has them linked, so captions
# and message boxes show Hangul. The prefix's Wine server is waited for at the end, so the next
# run starts on its own display.
# TL_WINE_VERSION (e.g. win95) makes Wine present that Windows version to the program run, as
# Wine's per-program setting in the prefix's registry (written once per prefix and program).
set -uo pipefail
export WINEPREFIX="${TL_WINEPREFIX:-$PWD/wineprefix-display}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
unset DISPLAY
if [ ! -e "$WINEPREFIX/.tl-display-ready" ]; then
    wineboot -i >/dev/null 2>&1
    # REGEDIT4 writes a multi-string as hex(7): its ANSI bytes, each text ended by a NUL and the
    # list by another.
    link=$(printf 'NanumGothic.ttf,NanumGothic' | od -An -tx1 -v | tr -s ' \n' ' ' |
        sed 's/^ //; s/ $//; s/ /,/g; s/$/,00,00/')
    {
        printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\n"Managed"="N"\n\n'
        printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion'
        printf '\\FontLink\\SystemLink]\n'
        for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "MS Sans Serif" "Microsoft Sans Serif"; do
            printf '"%s"=hex(7):%s\n' "$face" "$link"
        done
    } >"$WINEPREFIX/drive_c/tl-display.reg"
    wine regedit /S 'C:\tl-display.reg' >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.tl-display-ready"
fi
if [ -n "${TL_WINE_VERSION:-}" ]; then
    program=${1##*[\\/]}
    if ! grep -qiF "[Software\\\\Wine\\\\AppDefaults\\\\$program]" "$WINEPREFIX/user.reg" 2>/dev/null; then
        wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$program" /v Version /d "$TL_WINE_VERSION" /f \
            >/dev/null 2>&1
        wineserver -w
    fi
fi
xvfb-run -a -s "-screen 0 ${TL_SCREEN:-1024x768x24}" wine "$@"
status=$?
wineserver -w
exit $status
