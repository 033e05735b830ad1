#!/usr/bin/env bash
# Installs the Debian packages the program needs to build and run ("run"), and what the test
# suite needs beside them ("test"). Does nothing when everything is there already.
set -euo pipefail
packages=(cmake g++ make libwxgtk3.2-dev libgif-dev libexpat1-dev)
case "${1:-run}" in
    test) packages+=(libgtest-dev libgmock-dev xvfb xauth gettext gifsicle imagemagick xdotool) ;;
    bench) packages+=(libbenchmark-dev imagemagick gifsicle xvfb xauth) ;;
    run) packages+=(gettext) ;;
esac
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q "${missing[@]}"
fi
