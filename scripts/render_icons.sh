#!/usr/bin/env bash
# Renders the program's icon (resources/icons/org.zorvane.Zorvane.svg) into the PNG sizes that
# are committed beside it. Run after changing the drawing; the build itself needs no renderer.
set -euo pipefail
cd "$(dirname "$0")/../resources/icons"
command -v rsvg-convert >/dev/null || { echo "rsvg-convert is needed (Debian package librsvg2-bin)" >&2; exit 1; }
for size in 16 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" org.zorvane.Zorvane.svg -o "zorvane-$size.png"
done
