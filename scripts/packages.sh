# Debian packages the project needs, and installing only those missing. Sourced by the scripts.

# Building the program.
BUILD_PACKAGES="build-essential cmake pkg-config qt6-base-dev libpugixml-dev libx11-dev libxtst-dev
    libwayland-dev wayland-protocols"
# Building the Debian package: dpkg-shlibdeps (dpkg-dev) and the file type reader CPack uses.
PACKAGE_PACKAGES="dpkg-dev file"
# Running it (fonts, the desktop's opener for the help text and links), also on a machine
# without a display (the virtual display demo).
RUN_PACKAGES="fonts-dejavu-core xdg-utils xvfb xdotool qt6-wayland"
# Benchmarking: a window manager and a notification-area host for the tray icon's benchmark.
BENCH_PACKAGES="openbox trayer"
# Testing: the Win32 cross-compile check and Wine to run the Win32 backends, the fuzzers,
# formatting, a window manager for the window finder's tests, a notification-area host for the
# tray's and xwininfo (x11-utils) to see its window tree, the installed files' validators, a clean
# Debian root for the package's dependencies; a headless sway with Xwayland for the Wayland
# tests, wtype as the user's keyboard there, and setpriv (util-linux) to run that session as an
# unprivileged user; a headless mutter and a headless KWin with their desktops' portals for the
# GNOME and KDE tests (KDE's portal is a Qt 5 program: qtwayland5 puts it on KWin's display;
# without recommends these are about 140 packages, some 40 MB), and the five QML modules (2 MB)
# with which KDE's Screenshot portal builds its dialog (with a few files of the workspace that
# kde_screenshot_files.sh takes from its packages).
TEST_PACKAGES="g++-mingw-w64-x86-64 wine wine64 clang libclang-rt-14-dev clang-format openbox trayer
    x11-utils desktop-file-utils appstream debootstrap sway xwayland wtype util-linux
    mutter xdg-desktop-portal xdg-desktop-portal-gnome pipewire wireplumber at-spi2-core dbus
    kwin-wayland xdg-desktop-portal-kde qtwayland5 qml-module-qtquick-layouts
    qml-module-qtquick-controls2 qml-module-org-kde-kirigami2 qml-module-qtquick-window2
    qml-module-qtgraphicaleffects $PACKAGE_PACKAGES"

ensure_packages() {
    local missing=() package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing Debian packages: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null || { echo "Run as root to install: ${missing[*]}" >&2; return 1; }
        sudo=(sudo)
    fi
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -q
    "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

jobs() { nproc 2>/dev/null || echo 2; }
