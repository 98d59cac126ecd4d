#!/usr/bin/env bash
# The filter's streaming soak under ThreadSanitizer: builds the tsan
# preset's filter threads test and runs its soak (FilterSoak.*) for FRAMES
# frames (default 100000), then prints the figures the test reports:
# frames in and delivered, threads, settings changes, policy flips,
# snapshots and wall time. A race, a torn or lost frame or a sample not
# returned fails it.
#
#   scripts/soak.sh [FRAMES]
#
# Environment: TUL_SOAK_BUILD (the build folder, default build/tsan),
# TUL_SOAK_JOBS (build jobs).
set -euo pipefail
cd "$(dirname "$0")/.."

frames=${1:-100000}
build=${TUL_SOAK_BUILD:-build/tsan}
jobs=${TUL_SOAK_JOBS:-$(nproc 2>/dev/null || echo 2)}

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake --preset tsan -B "$build" "${launcher[@]}" >/dev/null
cmake --build "$build" -j "$jobs" --target test_filter_threads

export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1}
export TUL_SOAK_FRAMES=$frames
echo "=== soak: $frames frames under ThreadSanitizer ($build)"
"$build/tests/filter/test_filter_threads" --gtest_filter='FilterSoak.*'
