#!/usr/bin/env bash
# reelmont-export under an address-space limit: exports whose working set would not fit end
# with status 1 and a message, never with an abort, and the old file stays as it was.
# Usage: exporter_out_of_memory.sh EXPORTER PICTURE
set -u
exporter=$1
picture=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
printf old >"$work/out.gif"
while read -r limit options; do
    # shellcheck disable=SC2086 # the options are words
    prlimit --as="$limit" "$exporter" $options -o "$work/out.gif" "$picture" 2>"$work/err"
    got=$?
    if [ "$got" -ne 1 ] || ! grep -q "not enough memory" "$work/err" ||
        [ "$(cat "$work/out.gif")" != old ]; then
        echo "limit $limit, $options: status $got, $(cat "$work/err")"
        status=1
    fi
done <<'CASES'
600000000 -W 20000 -H 20000
600000000 -q best -O -W 8192 -H 8192
300000000 -q best -W 4000 -H 4000
CASES
[ "$status" -eq 0 ] && echo "every export out of memory ended with a message"
exit "$status"
