#!/usr/bin/env bash
# The few files of KDE Plasma's workspace that KDE's Screenshot portal (xdg-desktop-portal-kde
# 5.27) needs for a picture taken without asking: it builds its dialog even then, from the
# workspace's dialog QML and the Breeze look-and-feel package. Installing plasma-workspace would
# bring some 220 packages, systemd among them; these six files are taken from its two Debian
# packages instead, downloaded once and kept in /var/cache/zorvane/kde-screenshot (qml/,
# plugins/ and share/, for QML2_IMPORT_PATH, QT_PLUGIN_PATH and XDG_DATA_DIRS). Run as root.
set -euo pipefail
folder=/var/cache/zorvane/kde-screenshot
[ -e "$folder/.complete" ] && exit 0
[ "$(id -u)" -eq 0 ] || { echo "kde_screenshot_files: run as root" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chown _apt "$work" 2>/dev/null || true # apt's download user writes there
(cd "$work" && apt-get download -q plasma-workspace plasma-workspace-data >/dev/null)
for deb in "$work"/*.deb; do dpkg-deb -x "$deb" "$work/root"; done
qt5=$(echo "$work"/root/usr/lib/*/qt5)
breeze=usr/share/plasma/look-and-feel/org.kde.breeze.desktop
rm -rf "$folder"
for file in qml/org/kde/plasma/workspace/dialogs/{qmldir,SystemDialog.qml} \
    qml/org/kde/plasma/lookandfeel/{qmldir,liblookandfeelqmlplugin.so} \
    plugins/kpackage/packagestructure/plasma_lookandfeel.so; do
    install -D -m 644 "$qt5/$file" "$folder/$file"
done
for file in metadata.json contents/systemdialog/SystemDialog.qml; do
    install -D -m 644 "$work/root/$breeze/$file" "$folder/share/${breeze#usr/share/}/$file"
done
touch "$folder/.complete"
