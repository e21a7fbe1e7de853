#!/usr/bin/env bash
# Sets up a Debian 12 machine (the missing packages, as root), builds Zorvane (Release) and
# starts it on the desktop (Wayland or X11). Without a display it shows the program at work on a
# virtual one.
#   ./run.sh [zorvane arguments]
set -euo pipefail
cd "$(dirname "$0")"
. scripts/packages.sh
ensure_packages $BUILD_PACKAGES $RUN_PACKAGES

cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-release -j"$(jobs)" --target zorvane headless_demo

if [ -n "${WAYLAND_DISPLAY:-}" ] ||
    { [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1; }; then
    exec build-release/src/zorvane "$@"
fi
exec build-release/tests/tools/headless_demo "$PWD/zorvane-demo.png"
