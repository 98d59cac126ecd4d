#!/usr/bin/env bash
# Builds and runs every test: the optimised build, then the same tests under
# AddressSanitizer + UndefinedBehaviorSanitizer, then the threaded tests
# under ThreadSanitizer, then the libFuzzer harnesses (built with clang):
# every kept input replayed, and each harness fuzzed for 20,000 inputs from
# a fixed seed (about a minute in all), so CI's short run does not wander off
# on its own. Installs missing packages first.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
jobs=$(nproc 2>/dev/null || echo 2)

for preset in release asan tsan; do
  echo "=== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  echo "=== $preset: test"
  ctest --preset "$preset" -j "$jobs"
done

echo "=== fuzz: replay every corpus, then fuzz each harness briefly (fixed seed)"
TUL_FUZZ_SEED=1 TUL_FUZZ_RUNS=20000 scripts/fuzz.sh 60
