#!/usr/bin/env bash
# What every submission must pass besides the normal test run (./test.sh):
#   1. the whole test suite built with AddressSanitizer and
#      UndefinedBehaviorSanitizer, warnings as errors (the window checks
#      under Xvfb without the leak check; the first of them, whose fixed
#      waits an instrumented build overruns, not at all);
#   2. every test that starts a thread (test_audio, test_app) under
#      ThreadSanitizer;
#   3. a short run of every loader's fuzz target;
#   4. a soak of the whole program (attract cycle and erratic keyboard
#      rounds, every update checked) in the sanitizer build;
#   5. the same suite, window checks and a shorter soak built with clang,
#      whose UndefinedBehaviorSanitizer also checks array bounds, enum
#      loads and implicit integer conversions;
#   6. the Debian package built, checked (lintian, appstreamcli,
#      desktop-file-validate, groff), installed, played and removed
#      (scripts/package.sh; as root).
# Each part prints how long it took.
#
# usage: scripts/ci.sh [asan|tsan|fuzz|soak|clang|package ...]   (default: all)
set -euo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"
cd "$src"
parts=("$@")
[ ${#parts[@]} -eq 0 ] && parts=(asan tsan fuzz soak clang package)

stamp() { date +%s; }

# sanitizer_suite DIR: the whole suite in the sanitizer build DIR.
sanitizer_suite() {
  (cd "$1" &&
    ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1" \
    UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    LSAN_OPTIONS="suppressions=$src/scripts/lsan.supp:print_suppressions=0" \
    ctest --output-on-failure -j"$(nproc)" -E 'script_e2e_')
  # The window checks under Xvfb: memory errors still stop them, but not
  # leaks, since SDL's video drivers are unloaded before the leak check
  # and what they keep cannot be named to be let off. The first window
  # check keeps fixed waits that an instrumented build overruns.
  (cd "$1" &&
    ASAN_OPTIONS="detect_leaks=0:abort_on_error=1:strict_string_checks=1" \
    UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    ctest --output-on-failure -j1 -R 'script_e2e_' -E script_e2e_window)
}

# soak_in DIR ROUNDS: the soak in the sanitizer build DIR.
soak_in() {
  [ -x "$1/game/mervox" ] || { echo "ci: the soak needs its sanitizer build first" >&2; exit 2; }
  (cd "$1/game" &&
    ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" \
    UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    LSAN_OPTIONS="suppressions=$src/scripts/lsan.supp:print_suppressions=0" \
    ./mervox --soak "$2" --seed "${MERVOX_SOAK_SEED:-1}")
}
for part in "${parts[@]}"; do
  start=$(stamp)
  case "$part" in
    asan)
      echo "ci: AddressSanitizer + UndefinedBehaviorSanitizer build and full test run"
      cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMERVOX_SANITIZE_ADDRESS=ON -DMERVOX_WERROR=ON >/dev/null
      cmake --build build-asan -j"$(nproc)"
      sanitizer_suite build-asan
      ;;
    clang)
      # The GCC build's soak plays 120 rounds: here fewer, for
      # clang's own checks.
      rounds="${MERVOX_CLANG_SOAK_ROUNDS:-20}"
      echo "ci: clang AddressSanitizer + UndefinedBehaviorSanitizer build, full test run and soak of $rounds rounds"
      CC=clang-14 CXX=clang++-14 cmake -S . -B build-clang -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DMERVOX_SANITIZE_ADDRESS=ON -DMERVOX_WERROR=ON >/dev/null
      cmake --build build-clang -j"$(nproc)"
      sanitizer_suite build-clang
      soak_in build-clang "$rounds"
      ;;
    tsan)
      echo "ci: ThreadSanitizer run of every test that starts a thread"
      scripts/tsan_audio.sh "$src/build-tsan"
      ;;
    fuzz)
      echo "ci: a short run of each loader's fuzz target"
      scripts/fuzz.sh "${MERVOX_FUZZ_SECONDS:-45}" 2 "$src/build-fuzz"
      ;;
    soak)
      rounds="${MERVOX_SOAK_ROUNDS:-120}"
      echo "ci: soak of $rounds rounds in the sanitizer build"
      soak_in build-asan "$rounds"
      ;;
    package)
      echo "ci: the Debian package"
      tools=(debhelper dpkg-dev lintian appstream desktop-file-utils groff-base man-db fakeroot imagemagick)
      missing=()
      for p in "${tools[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
      done
      if [ ${#missing[@]} -gt 0 ]; then
        apt-get update -qq
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
      fi
      scripts/package.sh "$src/build-package"
      ;;
    *)
      echo "ci: unknown part $part" >&2
      exit 2
      ;;
  esac
  echo "ci: $part took $(( $(stamp) - start )) s"
done
