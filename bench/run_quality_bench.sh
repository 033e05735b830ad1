#!/usr/bin/env bash
# Builds reelmont-export and the quality benchmark in Release, installs the benchmark peer
# gifski from the npm registry into the work folder (when npm is there), and runs every
# workload, every writer at the same priority: the lowest, or NICE (e.g. NICE=-10 as root, so
# that other work on the machine disturbs the timings less).
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
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
nice -n "${NICE:-19}" "$root/build-bench/bench/quality_bench" "$work" \
    "$root/build-bench/stage/bin/reelmont-export" "$gifski" "$@"
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
