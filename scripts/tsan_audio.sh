#!/usr/bin/env bash
# Every test that starts a thread, under ThreadSanitizer: a separate build
# with -fsanitize=thread of the test programs whose libraries start threads
# (test_audio: the music loader and the mixer's sound device; test_app: the
# screenshot writer of every run of the program or the viewer), each run
# whole. The other test programs link none of that code. The audio tests,
# where the loader races the main thread, run three times. Names the cases
# that ran, and fails on any report or failure.
#
# usage: scripts/tsan_audio.sh [BUILD_DIR]   (default: build-tsan)
set -euo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$src/build-tsan}"
cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMERVOX_SANITIZE_THREAD=ON >/dev/null
if ! cmake --build "$build" -j"$(nproc)" --target test_audio test_app mervox >"$build/tsan-build.log" 2>&1; then
  tail -n 40 "$build/tsan-build.log"
  echo "tsan: the ThreadSanitizer build failed" >&2
  exit 1
fi

export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1"
# Scratch folders of its own, as ctest gives each build (CMakeLists.txt).
export TMPDIR="$build/test-tmp"
mkdir -p "$TMPDIR"
status=0
# run PROGRAM REPEATS: the whole program, the cases it ran named.
run() {
  local log="$build/tsan-$1.log"
  # The program tests read the game folder the build generates.
  if ! (cd "$build" && "./$1" --gtest_repeat="$2" --gtest_brief=0) >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "tsan: $1 FAILED (whole output in $log)"
    status=1
  fi
  local cases
  cases="$(grep -E '^\[       OK \]' "$log" | sed -E 's/^\[       OK \] ([^ ]+).*/\1/' | sort -u)"
  echo "tsan: $1 ran these $(echo "$cases" | grep -c . || true) cases, each $2 time(s):"
  echo "$cases" | sed 's/^/  /'
}
run test_audio 3
run test_app 1
exit $status
