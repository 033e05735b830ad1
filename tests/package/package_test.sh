#!/usr/bin/env bash
# Builds the Debian package from the build folder, unpacks it into a temporary root and checks
# it as an installed system would see it: every file in its place, dependencies computed from
# the binaries, a valid desktop entry and metadata, icons of the right sizes, project files
# told apart from other XML files, and a packaged exporter that writes a GIF.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "$*"; exit 1; }

cpack -G DEB -B "$work/out" --config "$build/CPackConfig.cmake" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack failed"; }
deb=$(echo "$work"/out/reelmont_*_*.deb)
[ -f "$deb" ] || fail "no reelmont_*.deb was made"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libwxgtk3.2 libwxbase3.2 libgif7 libcurl4 libstdc++6; do
    [[ "$depends" == *"$library"* ]] || fail "Depends lacks $library: $depends"
done
root=$work/root
dpkg-deb -x "$deb" "$root"
share=$root/usr/share

for file in usr/lib/reelmont/Themes/main_window.xrc usr/lib/reelmont/option.cfg \
    usr/share/applications/reelmont.desktop usr/share/metainfo/com.example.Reelmont.metainfo.xml \
    usr/share/mime/packages/reelmont.xml usr/share/icons/hicolor/scalable/apps/reelmont.svg \
    usr/share/man/man1/reelmont.1.gz usr/share/man/man1/reelmont-export.1.gz \
    usr/share/bash-completion/completions/reelmont-export \
    usr/share/doc/reelmont/copyright usr/share/doc/reelmont/changelog.gz \
    usr/lib/reelmont/Language/{de,fr,it,ja,zh_CN,zh_TW}/LC_MESSAGES/language.mo; do
    [ -s "$root/$file" ] || fail "missing from the package: /$file"
done
for program in reelmont reelmont-export; do
    [ -x "$root/usr/bin/$program" ] || fail "/usr/bin/$program does not lead to a program"
done
for size in 16 24 32 48 64 128 256; do
    icon=$share/icons/hicolor/${size}x${size}/apps/reelmont.png
    [ "$(identify -format '%wx%h' "$icon")" = "${size}x${size}" ] || fail "icon $icon is not ${size} px"
done

desktop-file-validate "$share/applications/reelmont.desktop" || fail "invalid desktop entry"
appstreamcli validate --no-net "$share/metainfo/com.example.Reelmont.metainfo.xml" >"$work/as.log" ||
    { cat "$work/as.log"; fail "invalid metadata"; }
desktop-file-install --dir="$work/menu" "$share/applications/reelmont.desktop"
[ -f "$work/menu/reelmont.desktop" ] || fail "desktop-file-install did not take the entry"

# The project type is recognised by content; plain XML and a build file rooted in another
# "project" element keep their types.
update-mime-database "$share/mime" 2>"$work/mime.log" || { cat "$work/mime.log"; fail "invalid MIME package"; }
printf '<?xml version="1.0" encoding="UTF-8"?>\n<project>\n  <width>8</width>\n</project>\n' >"$work/walk.xml"
cp "$work/walk.xml" "$work/walk"
printf '<?xml version="1.0" encoding="UTF-8"?>\n<notes>\n</notes>\n' >"$work/notes.xml"
printf '<?xml version="1.0"?>\n<project name="app" default="build">\n</project>\n' >"$work/build.xml"
while read -r file expected; do
    type=$(XDG_DATA_DIRS="$share:/usr/share" gio info -a standard::content-type "$work/$file" |
        sed -n 's/.*content-type: //p')
    [ "$type" = "$expected" ] || fail "$file is taken as $type, not $expected"
done <<'TYPES'
walk.xml application/x-reelmont-project
walk application/x-reelmont-project
notes.xml application/xml
build.xml application/xml
TYPES

convert -size 8x6 xc:red "$work/a.png"
convert -size 8x6 xc:blue "$work/b.png"
version=$(env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/reelmont-export" --version)
[ "$version" = "2.0.19" ] || fail "the packaged exporter says version \"$version\""
env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/reelmont-export" -o "$work/out.gif" \
    "$work/a.png" "$work/b.png" 2>/dev/null || fail "the packaged exporter failed"
[ "$(identify -format '%wx%h ' "$work/out.gif")" = "8x6 8x6 " ] ||
    fail "the packaged exporter wrote $(identify "$work/out.gif")"
echo "package $(basename "$deb") checked"
