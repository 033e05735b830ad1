#!/usr/bin/env bash
# Builds the end-to-end import benchmark, generates 200 frames of 640x480 (one GIF of full
# frames, the same GIF optimised, and PNG files), and times the real window's Add Image until the
# last frame is in the strip, against ImageMagick decoding the same files. Prints a table.
# "large" adds the 1920 x 1080 workloads below; "insert" measures Insert Image alone.
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

# With "insert": 300 screen-recording-like frames of 1920 x 1080 inserted through Insert Image
# into the middle of 10 frames; the import time and the longest pause of the GUI thread.
if [ "${1:-}" = insert ]; then
    mkdir -p "$work/screen"
    ffmpeg -loglevel error -f lavfi -i "color=c=0x2d5f8b:s=1920x1080:r=10,\
drawbox=x=300:y=200:w=1100:h=650:color=white:t=fill,\
drawtext=text='The quick brown fox jumps over the lazy dog %{n}':x=330:y=260:fontsize=24" \
        -frames:v 300 "$work/screen/f%03d.png"
    ffmpeg -loglevel error -f lavfi -i "testsrc=s=1920x1080:r=10" -frames:v 10 "$work/first.gif"
    xvfb-run -a -s "-screen 0 1280x1024x24" "$build/stage/bench/window_import_bench" \
        --insert "$work/first.gif" "$work"/screen/*.png 2>&1 | grep -E '^([0-9]+ frames|longest)'
    exit 0
fi

# With "large": 300 screen-recording-like and 300 photo-like frames of 1920 x 1080 made by
# ffmpeg, the window's peak memory and import time for each, and the resident memory after
# Clear All, Undo and Redo of the screen frames.
if [ "${1:-}" = large ]; then
    mkdir -p "$work/screen" "$work/photo"
    ffmpeg -loglevel error -f lavfi -i "color=c=0x2d5f8b:s=1920x1080:r=10,\
drawbox=x=300:y=200:w=1100:h=650:color=white:t=fill,\
drawbox=x=300:y=200:w=1100:h=36:color=0xdddddd:t=fill,\
drawtext=text='The quick brown fox jumps over the lazy dog 0123456789':x=330:y=260:fontsize=24,\
drawtext=text='Lorem ipsum dolor sit amet, consectetur adipiscing elit':x=330:y=300:fontsize=24" \
        -frames:v 300 "$work/screen/f%03d.png"
    ffmpeg -loglevel error -f lavfi -i "mandelbrot=s=1920x1080:r=10,noise=alls=10:allf=t+u" \
        -frames:v 300 "$work/photo/f%03d.png"
    echo
    echo "| 1920 x 1080 workload | Reelmont s | Reelmont peak MiB |"
    echo "|---|---:|---:|"
    echo "| 300 screen-like PNG files | $(window "$work"/screen/*.png) |"
    echo "| 300 photo-like PNG files | $(window "$work"/photo/*.png) |"
    xvfb-run -a -s "-screen 0 1280x1024x24" "$build/stage/bench/window_import_bench" \
        --edit-cycle "$work"/screen/*.png 2>&1 | grep '^resident'
fi
