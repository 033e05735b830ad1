#!/usr/bin/env bash
# reelmont-export takes file names as bytes: an input and an output whose names are not valid
# UTF-8 are read and written under exactly those names, and shown with the bytes escaped.
# Usage: exporter_file_name_bytes.sh EXPORTER PICTURE
set -u
exporter=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$2" "$work/bad"$'\xff'".png"
LC_ALL=C.UTF-8 "$exporter" -o "$work/out"$'\xfe'".gif" "$work/bad"$'\xff'".png" 2>"$work/err"
status=$?
if [ "$status" -ne 0 ] || [ ! -s "$work/out"$'\xfe'".gif" ] ||
    ! grep -qF 'out\xFE.gif' "$work/err"; then
    echo "status $status, files: $(ls "$work" | od -c | head -3), $(cat "$work/err")"
    exit 1
fi
LC_ALL=C.UTF-8 "$exporter" -o "$work/o.gif" "$work/gone"$'\xfd'".png" 2>"$work/err"
if ! grep -qF 'gone\xFD.png": no such file' "$work/err"; then
    echo "missing input: $(cat "$work/err")"
    exit 1
fi
echo "names that are not UTF-8 are kept as bytes"
