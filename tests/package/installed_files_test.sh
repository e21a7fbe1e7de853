#!/usr/bin/env bash
# What an installation puts in place: the files a desktop looks for, valid by the desktop's own
# validators; and --help and --version answered by the installed program without touching a file.
#   installed_files_test.sh <build folder>
set -euo pipefail
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
cmake --install "$build" --prefix "$root/usr" >/dev/null

expected=(
    usr/bin/zorvane
    usr/share/zorvane/Zorvane.txt
    usr/share/zorvane/IconThemes/default_icontheme.xml
    usr/share/applications/org.zorvane.Zorvane.desktop
    usr/share/metainfo/org.zorvane.Zorvane.metainfo.xml
    usr/share/man/man1/zorvane.1
    usr/share/icons/hicolor/scalable/apps/org.zorvane.Zorvane.svg
)
for size in 16 24 32 48 64 128 256; do
    expected+=("usr/share/icons/hicolor/${size}x${size}/apps/org.zorvane.Zorvane.png")
done
for frame in idle_{1..6} running_{1..4}; do
    expected+=("usr/share/zorvane/IconThemes/default/$frame.png")
done
for file in "${expected[@]}"; do
    [ -s "$root/$file" ] || { echo "not installed: $file" >&2; exit 1; }
done

desktop-file-validate "$root/usr/share/applications/org.zorvane.Zorvane.desktop"
appstreamcli validate --no-net --pedantic \
    "$root/usr/share/metainfo/org.zorvane.Zorvane.metainfo.xml" >/dev/null ||
    { appstreamcli validate --no-net "$root/usr/share/metainfo/org.zorvane.Zorvane.metainfo.xml"; exit 1; }
# The entry's icon is one of the installed icons.
grep -qx 'Icon=org.zorvane.Zorvane' "$root/usr/share/applications/org.zorvane.Zorvane.desktop"
man -l "$root/usr/share/man/man1/zorvane.1" 2>&1 >/dev/null | { ! grep -q .; }

# No display, a HOME of its own: both answers come on standard output and nothing is written.
home="$root/home"
mkdir "$home"
version=$(cd "$home" && env -u DISPLAY HOME="$home" "$root/usr/bin/zorvane" --version)
[ "$version" = "Zorvane 2.20" ] || { echo "--version said: $version" >&2; exit 1; }
help=$(cd "$home" && env -u DISPLAY HOME="$home" "$root/usr/bin/zorvane" run --help)
for word in run event load terminate --help --version; do
    grep -q -- "$word" <<<"$help" || { echo "--help does not name $word" >&2; exit 1; }
done
[ -z "$(ls -A "$home")" ] || { echo "--help or --version wrote into HOME" >&2; exit 1; }
echo "installed files: all in place and valid"
