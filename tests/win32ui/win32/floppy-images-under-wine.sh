#!/usr/bin/env bash
# The sample install disk as its floppy images (tldisk image), installed from under Wine as a
# person who copies the three disks into one folder on the hard disk would: the images' files
# are read back with mtools into one folder, and installer-under-wine.sh runs the installer from
# there with its checks.
#
# usage: floppy-images-under-wine.sh TLINS32A.EXE SOURCE_DIR WORK_DIR TLDISK
set -euo pipefail
exe=$1
source_dir=$2
work=$3
tldisk=$4

if [ ! -x "$tldisk" ]; then
    echo "FAIL: $tldisk is not built: the host build (cmake --preset default) makes it" >&2
    exit 1
fi
rm -rf "$work"
mkdir -p "$work/images" "$work/copied"
"$tldisk" image "$source_dir/examples/disk" "$work/images" --program "$exe"

for image in "$work"/images/DISK1.IMG "$work"/images/DISK2.IMG "$work"/images/DISK3.IMG; do
    while IFS= read -r entry; do
        file=${entry#::/}
        case $file in
        */ | "") continue ;;
        esac
        mkdir -p "$work/copied/$(dirname "$file")"
        mcopy -n -i "$image" "::/$file" "$work/copied/$file"
    done < <(mdir -i "$image" -/ -b ::)
done
# Together the images hold each file of the disk and the program, byte for byte.
diff -r -x TLINS32A.EXE "$source_dir/examples/disk" "$work/copied" >&2 &&
    cmp "$exe" "$work/copied/TLINS32A.EXE" ||
    { echo "FAIL: the images do not hold the disk's files as they are" >&2; exit 1; }

exec "$source_dir/tests/win32ui/win32/installer-under-wine.sh" "$work/copied/TLINS32A.EXE" \
    "$source_dir" "$work/run" "$work/copied"
