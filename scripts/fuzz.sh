#!/usr/bin/env bash
# Builds the libFuzzer harnesses (fuzz/*_fuzz.cpp) with clang, replays each
# harness's corpus (fuzz/corpus/<harness>/: seeds and the inputs of past
# findings), then fuzzes each harness for SECONDS (default 60; 0 replays
# only) and prints executions and coverage per harness.
#
#   scripts/fuzz.sh [SECONDS] [HARNESS...]
#
# New inputs the fuzzer finds go to build/fuzz/corpus/<harness>/, crashes to
# build/fuzz/artifacts/; copy a crash into fuzz/corpus/<harness>/ once it is
# fixed, so every later run replays it. Environment: TUL_FUZZ_BUILD (the
# build folder), TUL_FUZZ_JOBS (build jobs), TUL_FUZZ_SEED and TUL_FUZZ_RUNS
# (a fixed seed and a cap on executions per harness: CI uses both, so its
# short run starts from the same mutations every time instead of a fresh
# random walk on each submission).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
build=${TUL_FUZZ_BUILD:-build/fuzz}
jobs=${TUL_FUZZ_JOBS:-$(nproc 2>/dev/null || echo 2)}

harnesses=("$@")
targets=("$@")
if [ ${#harnesses[@]} -eq 0 ]; then
  for source in fuzz/*_fuzz.cpp; do
    harnesses+=("$(basename "$source" .cpp)")
  done
  targets=(fuzz_all)
fi

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DTUL_BUILD_FUZZ=ON \
  -DTUL_BUILD_TESTS=OFF -DTUL_BUILD_BENCH=OFF -DTUL_BUILD_APPS=ON "${launcher[@]}" >/dev/null
cmake --build "$build" -j "$jobs" --target "${targets[@]}"

export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
mkdir -p "$build/artifacts"
status=0
summary=()
total=0
for h in "${harnesses[@]}"; do
  bin="$build/fuzz/$h"
  seeds="fuzz/corpus/$h"
  found="$build/corpus/$h"
  mkdir -p "$found"
  log="$build/$h.log"

  # Replay: every kept input once, each on its own.
  mapfile -t inputs < <(find "$seeds" -type f 2>/dev/null | sort)
  if [ ${#inputs[@]} -gt 0 ]; then
    if ! "$bin" "${inputs[@]}" >"$log" 2>&1; then
      echo "=== $h: replay of $seeds FAILED"; tail -n 40 "$log"; status=1; continue
    fi
    echo "=== $h: replayed ${#inputs[@]} inputs"
  fi
  [ "$seconds" -gt 0 ] || continue

  fixed=()
  [ -n "${TUL_FUZZ_SEED:-}" ] && fixed+=(-seed="$TUL_FUZZ_SEED")
  [ -n "${TUL_FUZZ_RUNS:-}" ] && fixed+=(-runs="$TUL_FUZZ_RUNS")
  if ! "$bin" -max_total_time="$seconds" -timeout=20 -print_final_stats=1 "${fixed[@]}" \
       -artifact_prefix="$build/artifacts/$h-" "$found" "$seeds" >"$log" 2>&1; then
    echo "=== $h: FINDING"; grep -m1 -A30 "ERROR\|broken rule\|runtime error" "$log" || tail -n 40 "$log"
    grep "Test unit written to" "$log" || true
    status=1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)
  line=$(grep -E '^#[0-9]+' "$log" | tail -n1 || true)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$line")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$line")
  corpus=$(sed -n 's/.* corp: \([0-9]*\).*/\1/p' <<<"$line")
  summary+=("$(printf '%-16s %12s %8s %8s %8s' "$h" "${runs:-?}" "${cov:-?}" "${ft:-?}" "${corpus:-?}")")
  total=$((total + ${runs:-0}))
done

if [ ${#summary[@]} -gt 0 ]; then
  echo
  printf '%-16s %12s %8s %8s %8s\n' harness executions cov ft corpus
  printf '%s\n' "${summary[@]}"
  printf '%-16s %12s   (%ss each)\n' total "$total" "$seconds"
fi
exit $status
