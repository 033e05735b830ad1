#!/usr/bin/env bash
# Installs what the build and the tests need, builds, and runs the whole suite under Xvfb.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/tools/install-deps.sh" test
build=${REELMONT_BUILD_DIR:-$here/build}
cmake -S "$here" -B "$build" -DREELMONT_TESTS=ON >/dev/null
cmake --build "$build" -j "$(nproc)"
cd "$build"
xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" ctest --output-on-failure -j 2 --timeout 120
