#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer, UndefinedBehaviorSanitizer) in
# build-fuzz/ and runs each over its seed corpus in tests/fuzz/corpus/<target>/ for a bounded time.
# Exits non-zero when the build fails or a target finds a crash, a leak or a timeout; the input
# that caused it is kept in build-fuzz/artifacts/<target>/.
#
#   scripts/fuzz.sh                          about 30 s in all, split between the targets
#   FUZZ_SECONDS=3600 scripts/fuzz.sh        run longer: one hour in all
#   FUZZ_TARGETS=settings_fuzz scripts/fuzz.sh   only the named targets
#   FUZZ_BUILD_DIR=/tmp/fz scripts/fuzz.sh   build somewhere else
#
# New inputs found while running go to build-fuzz/corpus/<target>/, never to the seed corpus.
# Needs clang and libclang-rt-14-dev (or the compiler-rt package of the clang in use).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${FUZZ_BUILD_DIR:-$root/build-fuzz}"
seconds="${FUZZ_SECONDS:-30}"
read -r -a targets <<< "${FUZZ_TARGETS:-xml_document_fuzz settings_fuzz event_file_fuzz icon_theme_fuzz}"

mkdir -p "$build"
CC="${CC:-clang}" CXX="${CXX:-clang++}" cmake -S "$root" -B "$build" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORVANE_FUZZ=ON -DZORVANE_TESTS=OFF \
    -DZORVANE_SANITIZE=OFF -DZORVANE_WERROR=ON > "$build/configure.log" ||
    { cat "$build/configure.log"; exit 1; }
cmake --build "$build" --target "${targets[@]}" -j "$(nproc)"

per_target=$(( seconds / ${#targets[@]} ))
(( per_target > 0 )) || per_target=1

# Scratch files of the targets live in memory where possible.
scratch="$(mktemp -d "$( [ -d /dev/shm ] && echo /dev/shm || echo "${TMPDIR:-/tmp}")/zorvane-fuzz.XXXXXX")"
trap 'rm -rf "$scratch"' EXIT

for target in "${targets[@]}"; do
    corpus="$build/corpus/$target"
    artifacts="$build/artifacts/$target/"
    mkdir -p "$corpus" "$artifacts"
    echo "== $target: ${per_target} s"
    TMPDIR="$scratch" "$build/tests/fuzz/$target" \
        -max_total_time="$per_target" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
        -print_final_stats=1 -artifact_prefix="$artifacts" \
        "$corpus" "$root/tests/fuzz/corpus/$target"
done
echo "== fuzzing found nothing"
