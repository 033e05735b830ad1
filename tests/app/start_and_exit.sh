#!/usr/bin/env bash
# Starts the staged program as a user would, checks that it shows its window and prints the
# options file path once, then leaves it with File > Exit (Ctrl+Q) and expects a clean end.
set -u
program=$1
expected_option_file=$2
log=$(mktemp)
trap 'rm -f "$log"' EXIT

"$program" >"$log" 2>/dev/null &
pid=$!
window=""
for _ in $(seq 150); do
    window=$(xdotool search --onlyvisible --name '^Reelmont$' 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    sleep 0.1
done
if [ -z "$window" ]; then
    echo "the main window never appeared"
    kill "$pid" 2>/dev/null
    exit 1
fi
sleep 0.5
xdotool windowfocus --sync "$window" 2>/dev/null
xdotool key --clearmodifiers ctrl+q
for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
    echo "the program did not end after File > Exit"
    kill "$pid"
    exit 1
fi
wait "$pid"
status=$?
[ "$status" -eq 0 ] || { echo "the program ended with status $status"; exit 1; }
count=$(grep -c -x -F "$expected_option_file" "$log")
[ "$count" -eq 1 ] || { echo "the options file path was printed $count times:"; cat "$log"; exit 1; }
echo "window shown, options path printed once, clean exit"
