#!/usr/bin/env bash
# Builds the libFuzzer targets with clang++ into build-fuzz/ and runs each one for a while on its
# corpus in fuzz/corpus/<target>/. New inputs that reach new code are merged back into the corpus
# (only those, and none longer than FUZZ_MAX_LEN bytes), so the corpora stay small.
#   scripts/fuzz.sh [seconds-per-target] [target ...]     default: 60 seconds, every target
# Environment: FUZZ_BUILD (build-fuzz), FUZZ_MAX_LEN (4096), FUZZ_JOBS (targets run at once, 1),
# FUZZ_MERGE (1; 0 leaves the corpus in the repository untouched, as the test suite's short run does).
# A broken property or a sanitizer report stops with the input saved in build-fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
[ $# -gt 0 ] && shift
build=${FUZZ_BUILD:-build-fuzz}
max_len=${FUZZ_MAX_LEN:-4096}
jobs=${FUZZ_JOBS:-1}

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DKESTRIN_BUILD_TESTS=OFF -DKESTRIN_BUILD_FUZZ=ON
else
  cmake "$build" > /dev/null # a target added since the last run
fi
if [ $# -gt 0 ]; then
  targets=("$@")
else
  mapfile -t targets < "$build/fuzz/targets.txt"
fi
cmake --build "$build" -j "$(nproc)" --target "${targets[@]/#/fuzz_}"

mkdir -p "$build/artifacts"
# Qt keeps some allocations for the life of the process; leaks are not what these targets look for.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

run_one() {
  local target=$1 corpus="fuzz/corpus/$1" fresh
  fresh=$(mktemp -d "${TMPDIR:-/tmp}/kestrin-fuzz-$1.XXXXXX")
  mkdir -p "$corpus"
  local status=0
  "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" "$fresh" "$corpus" \
    > "$build/artifacts/$target.log" 2>&1 || status=$?
  if [ "$status" -eq 0 ] && [ "${FUZZ_MERGE:-1}" = 1 ]; then
    # Only inputs that add coverage join the corpus in the repository.
    "$build/fuzz/fuzz_$target" -merge=1 -max_len="$max_len" "$corpus" "$fresh" >> "$build/artifacts/$target.log" 2>&1 || status=$?
  fi
  rm -rf "$fresh"
  local runs
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$build/artifacts/$target.log" | tail -1 | grep -o '[0-9]*$' || true)
  if [ "$status" -eq 0 ]; then
    echo "fuzz_$target: ok, ${runs:-?} runs in ${seconds}s, corpus $(ls "$corpus" | wc -l) inputs"
  else
    echo "fuzz_$target: FAILED (exit $status); log $build/artifacts/$target.log" >&2
    grep -E 'PROPERTY BROKEN|ERROR: |runtime error|Test unit written' -A3 "$build/artifacts/$target.log" | head -20 >&2 || true
  fi
  return "$status"
}

failed=0
pids=()
for target in "${targets[@]}"; do
  run_one "$target" &
  pids+=($!)
  if [ "${#pids[@]}" -ge "$jobs" ]; then
    wait "${pids[0]}" || failed=1
    pids=("${pids[@]:1}")
  fi
done
for pid in "${pids[@]}"; do
  wait "$pid" || failed=1
done
exit "$failed"
