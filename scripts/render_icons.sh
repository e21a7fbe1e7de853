#!/usr/bin/env bash
# Renders the program's icon (resources/icons/org.zorvane.Zorvane.svg) into the PNG sizes that
# are committed beside it, and the default icon theme's frames (resources/icons/tray/*.svg) into
# the 32-pixel pictures of resources/IconThemes/default/. Run after changing a drawing; the build
# itself needs no renderer.
set -euo pipefail
cd "$(dirname "$0")/../resources"
command -v rsvg-convert >/dev/null || { echo "rsvg-convert is needed (Debian package librsvg2-bin)" >&2; exit 1; }
for size in 16 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" icons/org.zorvane.Zorvane.svg -o "icons/zorvane-$size.png"
done
# A tray icon is one small picture per frame; the notification area scales it to its own size.
mkdir -p IconThemes/default
for frame in icons/tray/*.svg; do
    name=$(basename "$frame" .svg)
    rsvg-convert -w 32 -h 32 "$frame" -o "IconThemes/default/$name.png"
done
