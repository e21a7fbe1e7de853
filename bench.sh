#!/usr/bin/env bash
# Builds Zorvane (Release) and runs the benchmarks under Xvfb; prints their figures.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/packages.sh
ensure_packages $BUILD_PACKAGES $RUN_PACKAGES $BENCH_PACKAGES

cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-release -j"$(jobs)"
status=0
for bench in click_timing start_up_time hot_key_relay event_handover event_table_scale \
    tray_animation kde_portal_timing; do
    echo "== $bench"
    build-release/bench/$bench || status=1
done
exit $status
