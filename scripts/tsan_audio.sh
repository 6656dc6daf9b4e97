#!/usr/bin/env bash
# The music loader's thread checked under ThreadSanitizer: a separate build of
# the audio tests with -fsanitize=thread, run on the music chain's cases.
#
# usage: scripts/tsan_audio.sh [BUILD_DIR]   (default: build-tsan)
set -euo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$src/build-tsan}"
cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMERVOX_SANITIZE_THREAD=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target test_audio >/dev/null
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
  "$build/test_audio" --gtest_filter='MusicChain*:MusicFiles*:MusicDecode*:OggDecode*' --gtest_repeat=3
