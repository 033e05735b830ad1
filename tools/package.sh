#!/usr/bin/env bash
# Installs what building needs, builds, and makes the Debian package reelmont_VERSION_ARCH.deb
# in the build folder.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/tools/install-deps.sh" package
build=${REELMONT_BUILD_DIR:-$here/build}
cmake -S "$here" -B "$build" >/dev/null
cmake --build "$build" -j "$(nproc)"
cd "$build"
cpack -G DEB
