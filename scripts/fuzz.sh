#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ (or $FUZZ_BUILD_DIR)
# and runs each over its corpus in tests/fuzz/corpus/<target> for a fixed
# number of runs (FUZZ_RUNS, 10000 by default) from a fixed seed. Further
# arguments go to CMake. New inputs found are kept out of the tree; a crash or
# a sanitizer report fails the script and leaves the input in build-fuzz/crashes.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${FUZZ_RUNS:-10000}
dir=${FUZZ_BUILD_DIR:-build-fuzz}
targets=(picture actions scene)
# -O1 and line tables only: quick to build, and enough for the sanitizers' reports.
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKINEMO_FUZZ=ON \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only -DNDEBUG" \
  "$@" >/dev/null
cmake --build "$dir" --parallel "$(nproc)" --target "${targets[@]/#/fuzz_}"
mkdir -p "$dir/crashes"
# Absolute: a target may change its working directory.
dir=$(cd "$dir" && pwd)
corpus=$(pwd)/tests/fuzz/corpus
for t in "${targets[@]}"; do
  work=$(mktemp -d)
  echo "fuzz_$t: $runs runs"
  status=0
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    "$dir/tests/fuzz/fuzz_$t" -runs="$runs" -seed=1 -max_len=16384 -print_final_stats=1 \
    -artifact_prefix="$dir/crashes/$t-" "$work" "$corpus/$t" 2>"$dir/fuzz_$t.log" ||
    status=$?
  rm -rf "$work"
  grep -E '^(stat::number_of_executed_units|Done)' "$dir/fuzz_$t.log" || true
  if [ "$status" -ne 0 ]; then
    tail -n 60 "$dir/fuzz_$t.log"
    echo "fuzz_$t failed (see $dir/fuzz_$t.log and $dir/crashes)" >&2
    exit 1
  fi
done
