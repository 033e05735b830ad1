#!/usr/bin/env bash
# A running program killed with kill -9 offers its unsaved work back at the next start; restored
# and then left with a clean exit, no recovery file stays behind.
# Usage: recovery_after_kill.sh PROGRAM PICTURE
set -u
program=$1
picture=$2
dir=$(mktemp -d)
pid=""
trap '[ -n "$pid" ] && kill -9 "$pid" 2>/dev/null; rm -rf "$dir"' EXIT
export HOME=$dir/home XDG_CONFIG_HOME=$dir/home/.config
mkdir -p "$HOME"
fail() { echo "$1"; exit 1; }
recoveries() { find "$HOME" -path '*/recovery/*' -name "*.$1" 2>/dev/null | sort; }
# Waits (for `tries` tenths of a second) for a visible window of the running program other than
# those given.
tries=150
window_besides() {
    for _ in $(seq "$tries"); do
        for window in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
            case " $* " in *" $window "*) ;; *) echo "$window"; return 0 ;; esac
        done
        sleep 0.1
    done
    return 1
}

"$program" "$picture" >/dev/null 2>&1 &
pid=$!
main=$(window_besides) || fail "the main window never appeared"
for _ in $(seq 150); do
    [ -n "$(recoveries xml)" ] && break
    sleep 0.1
done
left=$(recoveries xml)
[ -n "$left" ] || fail "no recovery project was written after the import"
grep -q -F "$(basename "$picture")" "$left" || fail "the recovery project does not name the picture"
kill -9 "$pid"
wait "$pid" 2>/dev/null
pid=""

"$program" >/dev/null 2>&1 &
pid=$!
main=$(window_besides) || fail "the main window never appeared after the crash"
question=$(window_besides "$main") || fail "the unsaved work was not offered"
xdotool windowfocus --sync "$question" 2>/dev/null
xdotool key --clearmodifiers Return
for _ in $(seq 100); do
    [ "$(recoveries xml)" = "$(dirname "$left")/$pid.xml" ] && break
    sleep 0.1
done
[ "$(recoveries xml)" = "$(dirname "$left")/$pid.xml" ] ||
    fail "the restored work is not kept by the new program: $(recoveries xml)"

# Leaving asks about the unsaved work; No (the default) ends the program. On a busy machine the
# window may not yet have the keyboard back from the question when the first key comes.
prompt=""
for _ in 1 2 3; do
    xdotool windowfocus --sync "$main" 2>/dev/null
    xdotool key --clearmodifiers ctrl+q
    prompt=$(tries=50 window_besides "$main") && break
done
[ -n "$prompt" ] || fail "leaving did not ask about the restored work"
xdotool windowfocus --sync "$prompt" 2>/dev/null
xdotool key --clearmodifiers Return
for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "the program did not end"
wait "$pid"
status=$?
pid=""
[ "$status" -eq 0 ] || fail "the program ended with status $status"
[ -z "$(recoveries xml)$(recoveries lock)" ] || fail "files stayed: $(recoveries xml) $(recoveries lock)"
echo "work offered back after kill -9, kept while unsaved, gone after a clean exit"
