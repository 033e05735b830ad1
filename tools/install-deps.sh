#!/usr/bin/env bash
# Installs the Debian packages the program needs to build and run ("run"), what the test
# suite needs beside them ("test"), and what building the Debian package needs ("package").
# Does nothing when everything is there already.
set -euo pipefail
# gettext builds the catalogs; wx3.2-i18n holds the toolkit's own translations,
# fonts-noto-cjk draws the Chinese and Japanese interface texts, and locales-all lets each
# interface language set its system locale, so that GTK's own texts (file chooser, Yes/No)
# follow it too. libimagequant gives the best colours; FFmpeg's libraries read video; zstd keeps
# frames compressed in memory; libdeflate inflates plain PNG frames; GTK's own headers reach the
# input method, the menus' key names and the desktop's recently-used list.
packages=(cmake g++ make pkg-config libwxgtk3.2-dev libgif-dev libimagequant-dev scdoc
    librsvg2-bin gettext wx3.2-i18n fonts-noto-cjk locales-all libcurl4-openssl-dev
    libexpat1-dev libavformat-dev libavcodec-dev libswscale-dev libavutil-dev libzstd-dev
    libdeflate-dev libgtk-3-dev)
case "${1:-run}" in
    # ImageMagick and ffmpeg decode written GIFs in tests, beside the program's own reader.
    test) packages+=(libgtest-dev libgmock-dev xvfb xauth imagemagick ffmpeg xdotool
        dpkg-dev desktop-file-utils appstream shared-mime-info libglib2.0-bin) ;;
    # gnuplot draws the rate-distortion plots of the quality benchmark.
    bench) packages+=(libbenchmark-dev imagemagick gifsicle ffmpeg xvfb xauth time gnuplot-nox) ;;
    # The fuzz targets and the sanitizer builds (tools/fuzz.sh, tools/sanitize.sh) need clang.
    fuzz) packages+=(clang) ;;
    package) packages+=(dpkg-dev) ;;
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
