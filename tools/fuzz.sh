#!/usr/bin/env bash
# Builds the fuzz targets (GIF reader with composition, still pictures, project reader, options
# reader) with clang's libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer, then runs all
# four at once at low priority for SECONDS each (default 60), each starting from its corpus in
# fuzz/corpus.
# New inputs go to the build folder's own corpus; crashes, leaks, slow inputs and memory hogs go
# to FUZZ_BUILD/findings/TARGET, to be added to fuzz/corpus, and fuzzing goes on after them.
# Exits 1 when a target found something.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
"$here/tools/install-deps.sh" fuzz
build=${REELMONT_FUZZ_BUILD_DIR:-$here/build-fuzz}
sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=undefined"
cmake -S "$here" -B "$build" -DREELMONT_TESTS=OFF -DREELMONT_FUZZ=ON \
    -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS="$sanitizers -fsanitize=fuzzer-no-link" \
    -DCMAKE_EXE_LINKER_FLAGS="$sanitizers" >/dev/null
targets=(gif picture project options)
cmake --build "$build" -j "$(nproc)" --target "${targets[@]/%/_fuzzer}"

for name in "${targets[@]}"; do
    mkdir -p "$build/corpus/$name" "$build/findings/$name"
    nice -n 19 "$build/fuzz/${name}_fuzzer" "$build/corpus/$name" "$here/fuzz/corpus/$name" \
        -max_total_time="$seconds" -timeout=20 -rss_limit_mb=3072 \
        -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
        -artifact_prefix="$build/findings/$name/" >"$build/findings/$name.log" 2>&1 &
    pids+=($!)
done
status=0
for i in "${!targets[@]}"; do
    name=${targets[$i]}
    wait "${pids[$i]}" || status=1
    runs=$(sed -n 's/^#\([0-9]*\): cov:.*/\1/p' "$build/findings/$name.log" | tail -1)
    found=$(find "$build/findings/$name" -type f | wc -l)
    echo "$name: ${runs:-?} runs in ${seconds} s, $found findings (log: $build/findings/$name.log)"
    [ "$found" -eq 0 ] || status=1
done
exit $status
