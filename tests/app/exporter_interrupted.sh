#!/usr/bin/env bash
# reelmont-export stopped by Ctrl+C (SIGINT) or SIGTERM while it reads standard input and while
# it writes the GIF: status 130 or 143 and one short line, the old file as it was, and nothing
# left beside it or in the scratch folder.
# Usage: exporter_interrupted.sh EXPORTER
set -u
exporter=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Background jobs get their own process group and keep SIGINT, as typed at a terminal.
set -m
mkdir "$work/out" "$work/scratch"
# Noise keeps every frame slow to reduce to 256 colours: the export is still running when the
# signal comes.
convert -size 1000x1000 xc: +noise Random "$work/noise.png"
frames=()
for _ in $(seq 12); do frames+=("$work/noise.png"); done
status=0

# Waits until the exporter watches for both signals (blocked in its threads, SIGINT 0x2 and
# SIGTERM 0x4000).
watching() {
    for _ in $(seq 300); do
        mask=$(awk '/^SigBlk/ { print $2 }' "/proc/$1/status" 2>/dev/null)
        [ -n "$mask" ] && [ $((0x$mask & 0x4002)) -eq $((0x4002)) ] && return 0
        sleep 0.1
    done
    return 1
}

# Waits until the exporter has its unfinished GIF open (unnamed, in the output folder).
writing() {
    for _ in $(seq 300); do
        ls -l "/proc/$1/fd" 2>/dev/null | grep -q "$work/out/.*(deleted)" && return 0
        sleep 0.1
    done
    return 1
}

check() { # signal, expected status, what ran
    local got=$2
    if [ "$got" -ne "$3" ] || ! grep -qx "reelmont-export: stopped by $1; \"$work/out/anim.gif\" was left as it was" "$work/err" ||
        [ "$(cat "$work/out/anim.gif")" != old ] || [ "$(ls -A "$work/out")" != anim.gif ] ||
        [ -n "$(ls -A "$work/scratch")" ]; then
        echo "$1 $4: status $got, $(cat "$work/err"), left: $(ls -A "$work/out" "$work/scratch")"
        status=1
    fi
}

printf old >"$work/out/anim.gif"
for signal in INT TERM; do
    expected=$([ "$signal" = INT ] && echo 130 || echo 143)
    "$exporter" -q best -o "$work/out/anim.gif" "${frames[@]}" 2>"$work/err" &
    pid=$!
    writing "$pid" || echo "SIG$signal: the export never began writing"
    kill "-$signal" "$pid"
    wait "$pid"
    check "SIG$signal" $? "$expected" "while writing"

    # Standard input that never ends: stopped while it is spooled into the scratch folder.
    { head -c 100000 "$work/noise.png"; sleep 60; } |
        TMPDIR="$work/scratch" "$exporter" -o "$work/out/anim.gif" - 2>"$work/err" &
    pid=$!
    watching "$pid" || echo "SIG$signal: the exporter never watched for it"
    for _ in $(seq 100); do
        [ -n "$(ls -A "$work/scratch")" ] && break
        sleep 0.1
    done
    kill "-$signal" "$pid"
    wait "$pid"
    check "SIG$signal" $? "$expected" "while reading standard input"
    kill %% 2>/dev/null
    wait 2>/dev/null
done
[ "$status" -eq 0 ] && echo "every stopped export left the old file and nothing else"
exit "$status"
