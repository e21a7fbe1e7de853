#!/usr/bin/env bash
# Builds Zorvane (Release) and runs the benchmarks under Xvfb; prints their figures.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/packages.sh
ensure_packages $BUILD_PACKAGES $RUN_PACKAGES $BENCH_PACKAGES

BENCHMARKS="click_timing start_up_time hot_key_relay event_handover event_table_scale
    tray_animation idle_wakeups kde_portal_timing"
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release >/dev/null
# Only the benchmarks and what they run (the program, the recorders), not the tests.
cmake --build build-release -j"$(jobs)" --target $BENCHMARKS
status=0
for bench in $BENCHMARKS; do
    echo "== $bench"
    build-release/bench/$bench || status=1
done
exit $status
