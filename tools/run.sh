#!/usr/bin/env bash
# Installs what the program needs, builds it, and starts it from the staged tree on the
# user's display.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "reelmont is a desktop program and needs a graphical display, but neither DISPLAY nor" >&2
    echo "WAYLAND_DISPLAY is set. Start it from a desktop session (or under xvfb-run)." >&2
    exit 1
fi
"$here/tools/install-deps.sh" run
build=${REELMONT_BUILD_DIR:-$here/build}
cmake -S "$here" -B "$build" >/dev/null
cmake --build "$build" -j "$(nproc)" --target reelmont
exec "$build/stage/bin/reelmont" "$@"
