#!/usr/bin/env bash
# Makes the demo's Windows 95 PC: a fresh machine folder from tlmachine init, with an ECP
# parallel port (LPT1) and the parallel-port driver lpt.vxd 4.0.0.950 that the install disk
# replaces, plus what another vendor's software left behind, for INSTALL.INF's [DeleteIni]
# to take out: a bidirectional port monitor and an old Telmora port monitor in SYSTEM.INI's
# [386Enh], and a status window started by WIN.INI's load= line.
# Usage: examples/machine/make-machine.sh TLMACHINE DIR   (DIR must not exist or be empty)
set -euo pipefail
tlmachine=$1
dir=$2

"$tlmachine" init "$dir" --ecp LPT1 >/dev/null

windows="$dir/drive_c/WINDOWS"
mkdir -p "$windows/TEMP" "$windows/COMMAND" "$dir/drive_c/Program Files/Accessories"

# Both files keep their CR LF line ends.
sed -i 's/^\[386Enh\]\r$/[386Enh]\r\ndevice=BIDI.386\r\ndevice=*vcomm,TLPM20.386\r/' "$windows/SYSTEM.INI"
sed -i 's/^load=\r$/load=TLSTAT.EXE\r/' "$windows/WIN.INI"
grep -q 'BIDI.386' "$windows/SYSTEM.INI" && grep -q 'TLSTAT.EXE' "$windows/WIN.INI" || {
    echo "make-machine: the template's SYSTEM.INI or WIN.INI has changed; update $0" >&2
    exit 1
}
