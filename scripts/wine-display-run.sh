#!/usr/bin/env bash
# Runs a Windows program that shows windows under Wine on a virtual X display (Xvfb), in a Wine
# prefix of its own (TL_WINEPREFIX, else ./wineprefix-display). The first run makes the prefix
# and tells Wine not to hand its windows to a window manager: Xvfb has none, and Wine would wait
# two seconds for one each time a window is hidden. The prefix's Wine server is waited for at the
# end, so the next run starts on its own display.
set -uo pipefail
export WINEPREFIX="${TL_WINEPREFIX:-$PWD/wineprefix-display}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
unset DISPLAY
if [ ! -e "$WINEPREFIX/.tl-unmanaged" ]; then
    wineboot -i >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.tl-unmanaged"
fi
xvfb-run -a -s "-screen 0 ${TL_SCREEN:-1024x768x24}" wine "$@"
status=$?
wineserver -w
exit $status
