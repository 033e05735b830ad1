#!/usr/bin/env bash
# Builds the program and its whole test suite with AddressSanitizer and UndefinedBehaviorSanitizer
# (clang) and runs the suite under Xvfb. Any error stops the test it happens in; leaks of the
# toolkit and the system libraries are suppressed (tools/sanitize.supp), none of the program's.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/tools/install-deps.sh" test
"$here/tools/install-deps.sh" fuzz
build=${REELMONT_SANITIZE_BUILD_DIR:-$here/build-sanitize}
flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S "$here" -B "$build" -DREELMONT_TESTS=ON -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS="$flags" \
    -DCMAKE_EXE_LINKER_FLAGS="$flags" >/dev/null
export ASAN_OPTIONS=detect_leaks=1
export LSAN_OPTIONS=suppressions=$here/tools/sanitize.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1
cmake --build "$build" -j "$(nproc)"
cd "$build"
# Left out: the exporter's out-of-memory test limits its address space with prlimit --as, and a
# sanitized program reserves terabytes of shadow address space as it starts, so it aborts there
# before any of its own code runs. The normal suite runs that test.
xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" ctest --output-on-failure -j 2 --timeout 600 \
    -E '^exporter_out_of_memory_says_so$'
