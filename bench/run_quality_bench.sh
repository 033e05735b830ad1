#!/usr/bin/env bash
# Builds reelmont-export and the quality benchmark in Release, installs the benchmark peer
# gifski from the npm registry into the work folder (when npm is there), runs every workload,
# every writer at the same priority: the lowest, or NICE (e.g. NICE=-10 as root, so that other
# work on the machine disturbs the timings less), in a session of its own whose share of the
# cores follows that priority too, and draws each workload's rate-distortion
# curves into bench/rd-WORKLOAD.png with gnuplot. The tables go to standard output and to
# WORK/results.md.
# Usage: [NICE=N] bench/run_quality_bench.sh [WORK] [WORKLOAD...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
work="${1:-/tmp/reelmont-quality-bench}"
shift || true
mkdir -p "$work"
cmake -S "$root" -B "$root/build-bench" -DREELMONT_BENCH=ON -DREELMONT_TESTS=OFF \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build-bench" -j2 --target quality_bench reelmont_export >/dev/null
gifski=-
if command -v npm >/dev/null; then
    npm install --prefix "$work/npm" gifski --no-audit --no-fund >/dev/null 2>&1 || true
    candidate="$work/npm/node_modules/gifski/bin/debian/gifski"
    if [ -x "$candidate" ] && "$candidate" --version >/dev/null 2>&1; then
        gifski="$candidate"
    fi
fi
{
    echo "Machine: $(nproc) cores, $(uname -m); load before: $(cut -d' ' -f1-3 /proc/loadavg)"
    # The kernel shares the cores between sessions first (autogroups), by nice only within
    # one: the benchmark gets a session of its own at its writers' priority.
    setsid -w bash -c 'echo "$0" >/proc/self/autogroup 2>/dev/null; exec nice -n "$0" "$@"' \
        "${NICE:-19}" "$root/build-bench/bench/quality_bench" "$work" \
        "$root/build-bench/stage/bin/reelmont-export" "$gifski" "$@"
    echo
    echo "Load after: $(cut -d' ' -f1-3 /proc/loadavg)"
} | tee "$work/results.md"
for data in "$work"/rd-*.dat; do
    [ -e "$data" ] || continue
    name="$(basename "$data" .dat)"
    gnuplot <<EOF
set terminal pngcairo size 800,500
set output "$root/bench/$name.png"
set title "${name#rd-}: mean PSNR against file size"
set xlabel "file size (bytes)"
set ylabel "mean PSNR (dB)"
set logscale x
set key bottom right
set grid
plot "$data" index 0 using 1:2 with linespoints title "Reelmont -q best -O -Q 30..100", \
     "$data" index 1 using 1:2 with linespoints title "gifski --quality 30..100"
EOF
done
