#!/usr/bin/env bash
# Proves that the Debian package names every package it needs: installs it into a clean Debian 12
# root (debootstrap, minbase) with apt and nothing it only recommends, then runs the installed
# program there: --version, the libraries of every platform plugin resolved, and a start on the
# offscreen platform that keeps running until it is stopped. Run as root.
#   scripts/clean_root_check.sh <zorvane_*.deb>
# The clean root is kept as a tarball in /var/cache/zorvane so that later runs take seconds.
set -euo pipefail
package=$(realpath "$1")
[ "$(id -u)" -eq 0 ] || { echo "clean_root_check: run as root" >&2; exit 1; }
mirror=$(sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -1)
mirror=${mirror:-http://deb.debian.org/debian}
cache=/var/cache/zorvane/bookworm-minbase.tar
root=$(mktemp -d /var/tmp/zorvane-root.XXXXXX)
cleanup() {
    umount "$root/proc" 2>/dev/null || true
    rm -rf --one-file-system "$root"
}
trap cleanup EXIT

echo "== A clean Debian 12 root (minbase)"
if [ -s "$cache" ]; then
    tar -xf "$cache" -C "$root"
else
    debootstrap --variant=minbase bookworm "$root" "$mirror" >/dev/null 2>&1 ||
        { echo "debootstrap failed" >&2; exit 1; }
    mkdir -p "$(dirname "$cache")"
    tar -cf "$cache.part" -C "$root" . && mv "$cache.part" "$cache"
fi
cp /etc/resolv.conf "$root/etc/resolv.conf"
# /proc helps apt and the program; a container that may not mount it still gets the check.
mount -t proc proc "$root/proc" 2>/dev/null || echo "(no /proc in the clean root)"
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root "$@"; }
log=$root/tmp/check.log
quiet() { "$@" >"$log" 2>&1 || { cat "$log" >&2; return 1; }; }

echo "== The package and what it depends on, nothing it only recommends"
cp "$package" "$root/tmp/zorvane.deb"
quiet in_root apt-get update -q
quiet in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
    /tmp/zorvane.deb

echo "== The program in the clean root"
version=$(in_root zorvane --version)
[ "$version" = "Zorvane 2.20" ] || { echo "--version said: $version" >&2; exit 1; }
missing=$(in_root sh -c 'for p in /usr/lib/*/qt6/plugins/platforms/*.so; do ldd "$p"; done' |
    grep 'not found' || true)
[ -z "$missing" ] || { echo "libraries missing in the clean root:" >&2; echo "$missing" >&2; exit 1; }
status=0
in_root env QT_QPA_PLATFORM=offscreen timeout 5 zorvane >/dev/null 2>&1 || status=$?
# 124: still running when stopped after 5 s, as it should be.
[ "$status" -eq 124 ] || { echo "the program ended with status $status in the clean root" >&2; exit 1; }
echo "clean root: the package's dependencies are complete"
