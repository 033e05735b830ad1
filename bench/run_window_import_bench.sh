#!/usr/bin/env bash
# Builds the end-to-end import benchmark, generates 200 frames of 640x480 (one GIF of full
# frames, the same GIF optimised, and PNG files), and times the real window's Add Image until the
# last frame is in the strip, against ImageMagick decoding the same files. Prints a table.
set -euo pipefail
source "$(dirname "$0")/prepare_bench.sh" -DCMAKE_BUILD_TYPE=Release window_import_bench import_bench
"$build/bench/import_bench" --generate "$work" "${FRAMES:-200}"
export HOME="$work/home"
mkdir -p "$HOME"
window() {
    xvfb-run -a -s "-screen 0 1280x1024x24" "$build/stage/bench/window_import_bench" "$@" 2>&1 |
        grep -E '^[0-9]+ frames' | sed -E 's/^([0-9]+) frames in ([0-9.]+) s, CPU [0-9.]+ s, peak ([0-9]+) MiB/\2 | \3/'
}
magick() {
    /usr/bin/time -f "%e | %M" convert "$@" null: 2>&1 | tail -n 1 |
        awk -F' \\| ' '{printf "%s | %d", $1, $2 / 1024}'
}
echo "| Workload | Reelmont s | Reelmont peak MiB | ImageMagick s | ImageMagick peak MiB |"
echo "|---|---:|---:|---:|---:|"
echo "| GIF, full frames | $(window "$work/full.gif") | $(magick "$work/full.gif" -coalesce) |"
echo "| GIF, optimised | $(window "$work/optimised.gif") | $(magick "$work/optimised.gif" -coalesce) |"
echo "| PNG files | $(window "$work"/frames/*.png) | $(magick "$work"/frames/*.png) |"
