#!/usr/bin/env bash
# Builds Zorvane's Debian package (Release) with CPack into build-package/; its dependencies are
# read from the binary by dpkg-shlibdeps. Install it with: apt install ./build-package/zorvane_*.deb
set -euo pipefail
cd "$(dirname "$0")"
. scripts/packages.sh
ensure_packages $BUILD_PACKAGES $PACKAGE_PACKAGES
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DZORVANE_TESTS=OFF >/dev/null
cmake --build build-package -j"$(jobs)" --target zorvane
(cd build-package && cpack -G DEB >/dev/null)
ls build-package/zorvane_*.deb
