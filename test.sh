#!/usr/bin/env bash
# Sets up a Debian 12 machine (the missing packages, as root) and runs every test: a build with
# warnings as errors (with the Win32 backends run under Wine, and the Debian package built,
# installed with apt and removed again), the package in a clean Debian root, the same tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, the Win32 backend's cross-compile check, the
# fuzzers for a bounded time, and the formatting check.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/packages.sh
ensure_packages $BUILD_PACKAGES $RUN_PACKAGES $TEST_PACKAGES
# What KDE's Screenshot portal needs of the workspace, downloaded once (root only).
[ "$(id -u)" -ne 0 ] || scripts/kde_screenshot_files.sh

run_tests() { # build folder, cmake options...
    local dir=$1
    shift
    cmake -S . -B "$dir" -DZORVANE_WERROR=ON "$@" >/dev/null
    cmake --build "$dir" -j"$(jobs)"
    ctest --test-dir "$dir" --output-on-failure
}

echo "== Build with warnings as errors, all tests, the Win32 backends under Wine, the package"
# Only this build builds, installs and removes the Debian package (as root).
run_tests build-ci -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORVANE_WINE_TESTS=ON \
    -DZORVANE_PACKAGE_TESTS=ON

if [ "$(id -u)" -eq 0 ]; then
    echo "== The Debian package's dependencies, in a clean Debian 12 root"
    scripts/clean_root_check.sh build-ci/zorvane_2.20_amd64.deb
fi

echo "== AddressSanitizer and UndefinedBehaviorSanitizer, all tests"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
run_tests build-asan -DCMAKE_BUILD_TYPE=Debug -DZORVANE_SANITIZE=ON
unset ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS

echo "== Win32 backends compile (mingw-w64, syntax only)"
for source in src/platform/win/*.cpp; do
    x86_64-w64-mingw32-g++ -std=c++20 -fsyntax-only -Wall -Wextra -Wpedantic -Werror -Isrc "$source"
done

echo "== Fuzzers"
scripts/fuzz.sh

echo "== Formatting"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

echo "All tests passed."
