#!/usr/bin/env bash
# What every submission must pass besides the normal test run (./test.sh):
#   1. the whole test suite built with AddressSanitizer and
#      UndefinedBehaviorSanitizer, warnings as errors (all but the Xvfb
#      window check, whose fixed waits an instrumented build overruns);
#   2. the audio and music tests under ThreadSanitizer;
#   3. a short run of every loader's fuzz target.
# Each part prints how long it took.
#
# usage: scripts/ci.sh [asan|tsan|fuzz ...]   (default: all three)
set -euo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"
cd "$src"
parts=("$@")
[ ${#parts[@]} -eq 0 ] && parts=(asan tsan fuzz)

stamp() { date +%s; }
for part in "${parts[@]}"; do
  start=$(stamp)
  case "$part" in
    asan)
      echo "ci: AddressSanitizer + UndefinedBehaviorSanitizer build and full test run"
      cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMERVOX_SANITIZE_ADDRESS=ON -DMERVOX_WERROR=ON >/dev/null
      cmake --build build-asan -j"$(nproc)"
      (cd build-asan &&
        ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1" \
        UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
        LSAN_OPTIONS="suppressions=$src/scripts/lsan.supp:print_suppressions=0" \
        ctest --output-on-failure -j"$(nproc)" -E script_e2e_window)
      ;;
    tsan)
      echo "ci: ThreadSanitizer run of the audio and music tests"
      scripts/tsan_audio.sh "$src/build-tsan"
      ;;
    fuzz)
      echo "ci: a short run of each loader's fuzz target"
      scripts/fuzz.sh "${MERVOX_FUZZ_SECONDS:-60}" 2 "$src/build-fuzz"
      ;;
    *)
      echo "ci: unknown part $part" >&2
      exit 2
      ;;
  esac
  echo "ci: $part took $(( $(stamp) - start )) s"
done
