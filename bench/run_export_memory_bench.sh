#!/usr/bin/env bash
# Peak memory and wall time of reelmont-export on two workloads whose memory once grew with the
# frame count: 500 PNG frames of 640 x 480, and a GIF of a few kilobytes holding 400 one-pixel
# frames on a 2048 x 2048 screen. Writes the figures of this one run into
# bench/EXPORT_MEMORY_RESULTS.md.
set -euo pipefail
source "$(dirname "$0")/prepare_bench.sh" reelmont_export
exporter=$build/stage/bin/reelmont-export

# Ten different pictures, each named fifty times, so decoding costs what 500 files cost.
for i in $(seq 0 9); do
    convert -size 640x480 gradient:"rgb($((i * 25)),0,0)-rgb(0,0,$((255 - i * 20)))" \
        -fill white -pointsize 60 -draw "text $((i * 40)),200 'frame $i'" "$work/source$i.png"
done
for i in $(seq 0 499); do
    ln -s "source$((i % 10)).png" "$work/$(printf 'frame%03d' "$i").png"
done

# Little-endian 16-bit number.
word() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $(($1 >> 8)))"; }
{
    printf 'GIF89a'
    word 2048
    word 2048
    printf '\x80\x00\x00\x00\x00\x00\xff\xff\xff!\xff\x0bNETSCAPE2.0\x03\x01\x00\x00\x00'
    for i in $(seq 0 399); do
        printf '!\xf9\x04\x00\x05\x00\x00\x00,'
        word $((i * 37 % 2047))
        word $((i * 91 % 2047))
        word 1
        word 1
        printf '\x00\x02\x02\x4c\x01\x00'
    done
    printf ';'
} >"$work/screen.gif"

# Wall seconds and peak resident MiB of one export.
measure() {
    /usr/bin/time -f "%e %M" -o "$work/time" "$exporter" -o "$work/out.gif" "$@" >/dev/null 2>&1
    read -r seconds kib <"$work/time"
    echo "$seconds | $((kib / 1024))"
}
pngs=$(measure "$work"/frame*.png)
screen=$(measure "$work/screen.gif")
{
    echo "# Exporter memory benchmark"
    echo
    echo "Peak resident memory (\`/usr/bin/time\`) and wall time of \`reelmont-export\` writing"
    echo "generated inputs, one run each: the exporter decodes, fits, quantises and writes one frame"
    echo "after another, so its memory should not grow with the frame count."
    echo
    echo "| input | wall time (s) | peak memory (MiB) |"
    echo "|---|---:|---:|"
    echo "| 500 PNG frames of 640 x 480 | $pngs |"
    echo "| GIF of $(stat -c %s "$work/screen.gif") bytes: 400 frames of 1 x 1 on a 2048 x 2048 screen | $screen |"
    echo
    echo "Machine: $(nproc) cores, $(free -g | awk '/Mem:/ {print $2}') GiB, load $(cut -d' ' -f1-3 /proc/loadavg)."
} >"$here/bench/EXPORT_MEMORY_RESULTS.md"
cat "$here/bench/EXPORT_MEMORY_RESULTS.md"
