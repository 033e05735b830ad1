#!/usr/bin/env bash
# Builds the video benchmark and the exporter, makes its clips with ffmpeg, and writes the
# figures of this one run into bench/VIDEO_RESULTS.md. REPS overrides the 3 runs.
set -euo pipefail
source "$(dirname "$0")/prepare_bench.sh" -DCMAKE_BUILD_TYPE=Release video_bench reelmont_export \
    window_import_bench
reps=${REPS:-3}
# 10 s of full HD H.264 at 30 fps with moving content; 5 s of 640 x 360 colour bars.
ffmpeg -v error -f lavfi -i testsrc2=size=1920x1080:rate=30 -t 10 -c:v libx264 -preset medium \
    -pix_fmt yuv420p "$work/hd.mp4"
ffmpeg -v error -f lavfi -i testsrc=size=640x360:rate=30 -t 5 -c:v libx264 -preset medium \
    -pix_fmt yuv420p "$work/small.mp4"
load_before=$(cut -d' ' -f1-3 /proc/loadavg)

# Import: the whole HD clip at 15 fps, pictures made and dropped; wall, CPU and peak memory.
runs=()
for ((r = 0; r < reps; r++)); do
    line=$(/usr/bin/time -f "%e %U %S %M" "$build/bench/video_bench" "$work/hd.mp4" 0 10 15 2>&1 >"$work/out")
    runs+=("$line $(cat "$work/out")")
done
median=$(printf '%s\n' "${runs[@]}" | sort -n | sed -n "$(((reps + 1) / 2))p")
read -r wall user sys rss _ pictures _ delays _ <<<"$median"

# The window: Add Image of the same part until its last frame is in the strip (decoding,
# compressing and the thumbnails on the import worker); wall, CPU and peak memory.
export HOME="$work/home"
mkdir -p "$HOME"
windows=()
for ((r = 0; r < reps; r++)); do
    windows+=("$(xvfb-run -a -s "-screen 0 1280x1024x24" "$build/stage/bench/window_import_bench" \
        "$work/hd.mp4#t=0,10&fps=15" 2>&1 | grep -E '^[0-9]+ frames')")
done
window=$(printf '%s\n' "${windows[@]}" | sort -k4 -n | sed -n "$(((reps + 1) / 2))p")

# A project's frames of one video (60 frames at 15 a second): each read by its own name, one
# seek and decode each, against one pass over the run.
project_frames=$("$build/bench/video_bench" --frames "$work/hd.mp4" 60 15)

# Export: the 5 s clip at its own rate, the GIF's length and its first and last frames against
# ffmpeg's own extraction of those frames.
"$build/stage/bin/reelmont-export" -q best -o "$work/small.gif" "$work/small.mp4" 2>"$work/export.txt"
frames=$(gifsicle --info "$work/small.gif" | grep -c '^  + image')
hundredths=$(gifsicle --info "$work/small.gif" | grep -o 'delay [0-9.]*s' | awk '{s += $2} END {printf "%.2f", s}')
last=$((frames - 1))
ffmpeg -v error -i "$work/small.mp4" -vf "select=eq(n\,0)" -frames:v 1 "$work/ff_first.png"
ffmpeg -v error -i "$work/small.mp4" -vf "select=eq(n\,$last)" -frames:v 1 "$work/ff_last.png"
convert "$work/small.gif[0]" "$work/gif_first.png"
convert "$work/small.gif[$last]" "$work/gif_last.png"
"$build/bench/video_bench" "$work/small.mp4" 0 5 0 "$work/our_first.png" "$work/our_last.png" >/dev/null
psnr() { compare -metric PSNR "$1" "$2" null: 2>&1 | cut -d' ' -f1; }
load_after=$(cut -d' ' -f1-3 /proc/loadavg)
{
    echo "# Video benchmark"
    echo
    echo "## Import: 10 s of 1920 x 1080 H.264 at 30 fps, taken at 15 fps"
    echo
    echo "\`video_bench\` reads the clip as the import does (\`ReadVideoRange\`: FFmpeg's decoder on"
    echo "its own threads, each taken frame scaled to an upright RGB picture), dropping each"
    echo "picture once made; median of $reps runs by wall time (\`/usr/bin/time\`)."
    echo
    echo "| pictures | sum of delays | wall | CPU (user + system) | real time / wall | peak memory |"
    echo "| --- | --- | --- | --- | --- | --- |"
    printf '| %s | %s hundredths | %.2f s | %.2f s | %.1f x | %d MB |\n' "$pictures" "$delays" \
        "$wall" "$(echo "$user + $sys" | bc)" "$(echo "10 / $wall" | bc -l)" $((rss / 1024))
    echo
    echo "All runs (wall user system peak-KB, then the benchmark's line):"
    echo
    printf '    %s\n' "${runs[@]}"
    echo
    echo "The same part through the window's Add Image (\`window_import_bench\`, under Xvfb), until"
    echo "the last of its frames is in the strip, compressed in the document; median of $reps runs by"
    echo "wall time, then all runs:"
    echo
    echo "    $window"
    echo
    printf '    %s\n' "${windows[@]}"
    echo
    echo "## A project's video frames"
    echo
    echo "60 frames named as a project keeps them (\`hd.mp4#t=T\`, 1/15 s apart, 4 s), read"
    echo "each by its own name (a seek and a decode from the key frame before it, as a project"
    echo "opened before runs of video frames) and as one run (\`DecodeFrameRun\`, what Open Project"
    echo "does now):"
    echo
    echo "    $project_frames"
    echo
    echo "## Export: 5 s of 640 x 360 at 30 fps"
    echo
    echo "\`reelmont-export -q best -o small.gif small.mp4\`; frames and delays by \`gifsicle --info\`;"
    echo "PSNR by ImageMagick's \`compare -metric PSNR\` against \`ffmpeg -vf select=eq(n\\,N)\`."
    echo
    echo "| frames | length of the GIF | of the clip | PSNR first frame | PSNR last frame |"
    echo "| --- | --- | --- | --- | --- |"
    echo "| $frames | $hundredths s | 5.00 s | $(psnr "$work/gif_first.png" "$work/ff_first.png") dB | $(psnr "$work/gif_last.png" "$work/ff_last.png") dB |"
    echo
    echo "The pictures before any palette (what the window holds), against the same extraction:"
    echo "first $(psnr "$work/our_first.png" "$work/ff_first.png") dB, last $(psnr "$work/our_last.png" "$work/ff_last.png") dB."
    echo
    echo "## Machine"
    echo
    echo "- CPU: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(nproc) cores"
    echo "- Memory: $(free -h | awk '/^Mem:/ {print $2}'); $(. /etc/os-release && echo "$PRETTY_NAME")"
    echo "- FFmpeg libraries $(dpkg-query -W -f='${Version}' libavcodec-dev)"
    echo "- Load average before / after the run: $load_before / $load_after (the machine is shared)"
    echo
    echo "## Reproduce"
    echo
    echo '    bench/run_video_bench.sh            # REPS=3 by default'
} >"$here/bench/VIDEO_RESULTS.md"
cat "$here/bench/VIDEO_RESULTS.md"
