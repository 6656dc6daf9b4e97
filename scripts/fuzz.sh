#!/usr/bin/env bash
# Builds the loaders' fuzz targets with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs each one (every fuzz/fuzz_NAME.cpp)
# over its corpus (fuzz/corpus/NAME, when there is one).
#
# usage: scripts/fuzz.sh [SECONDS_PER_TARGET] [PARALLEL] [BUILD_DIR]
#   defaults: 60 s each, two at a time, ./build-fuzz
# New inputs found go to a scratch corpus, never into fuzz/corpus; a crash
# leaves its input in BUILD_DIR/crashes and fails the run.
set -euo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
parallel="${2:-2}"
build="${3:-$src/build-fuzz}"

CC=clang CXX=clang++ cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMERVOX_FUZZ=ON >/dev/null
if ! cmake --build "$build" -j"$(nproc)" --target fuzzers >"$build/fuzz-build.log" 2>&1; then
  tail -n 40 "$build/fuzz-build.log"
  echo "fuzz: the fuzz targets did not build" >&2
  exit 1
fi

# Every fuzz target CMake builds: one for each fuzz/fuzz_NAME.cpp.
targets=()
for f in "$src"/fuzz/fuzz_*.cpp; do
  name="$(basename "$f" .cpp)"
  targets+=("${name#fuzz_}")
done
[ ${#targets[@]} -gt 0 ] || { echo "fuzz: no fuzz targets in $src/fuzz" >&2; exit 1; }
echo "fuzz: ${#targets[@]} targets: ${targets[*]}"
mkdir -p "$build/crashes" "$build/logs"
run_one() {
  local t="$1"
  local scratch="$build/corpus/$t"
  local seeds=()
  mkdir -p "$scratch"
  # The first corpus folder takes new inputs; the seeds stay as they are.
  if [ -d "$src/fuzz/corpus/$t" ]; then seeds=("$src/fuzz/corpus/$t"); fi
  if ! "$build/fuzz_$t" "$scratch" "${seeds[@]}" -max_total_time="$seconds" -max_len=65536 \
      -rss_limit_mb=2048 -timeout=20 -print_final_stats=1 -artifact_prefix="$build/crashes/$t-" \
      >"$build/logs/$t.log" 2>&1; then
    echo "fuzz: $t FAILED (input and log in $build/crashes, $build/logs/$t.log)"
    tail -n 40 "$build/logs/$t.log"
    return 1
  fi
  local stats
  stats="$(grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "$build/logs/$t.log" | tr '\n' ' ')"
  echo "fuzz: $t passed: $stats"
}

status=0
pids=()
for t in "${targets[@]}"; do
  run_one "$t" &
  pids+=($!)
  if [ "${#pids[@]}" -ge "$parallel" ]; then
    wait "${pids[0]}" || status=1
    pids=("${pids[@]:1}")
  fi
done
for p in "${pids[@]}"; do wait "$p" || status=1; done
exit $status
