#!/usr/bin/env bash
# Installs the Debian packages mervox needs (when missing), then configures and
# builds it in ./build. Sourced by play.sh with the argument --play (what
# building and playing needs) and by test.sh with --tests (the tests,
# benchmarks and their tools too).
set -euo pipefail

MERVOX_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
MERVOX_BUILD="${MERVOX_BUILD:-$MERVOX_ROOT/build}"
mervox_tests=OFF
if [ "${1:-}" = "--tests" ]; then mervox_tests=ON; fi

# Building and playing.
packages=(
  build-essential cmake pkg-config
  libsdl2-dev libcairo2-dev libfontconfig1-dev libfreetype-dev
  libpng-dev zlib1g-dev libogg-dev libvorbis-dev
  # the score board (mervox-board): HTTP, JSON, SQLite and PostgreSQL's client
  libcpp-httplib-dev libssl-dev nlohmann-json3-dev libsqlite3-dev libpq-dev
  # video export: FFmpeg's libraries
  libavcodec-dev libavformat-dev libswscale-dev libswresample-dev
  # the game's score board client
  libcurl4-openssl-dev
  fonts-ipafont-gothic
  fonts-dejavu-core
  espeak-ng
)

# What the tests add: GoogleTest and Google Benchmark, the window checks' X
# server and tools, and clang for the sanitizer and fuzz builds.
test_packages=(
  libgtest-dev libbenchmark-dev
  xvfb xauth xdotool x11-utils imagemagick
  clang libclang-rt-14-dev
  # the exported videos read back
  ffmpeg
  # the board's tests: scratch PostgreSQL clusters, its pages in a browser
  postgresql chromium chromium-driver
)
if [ "$mervox_tests" = ON ]; then packages+=("${test_packages[@]}"); fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "mervox: installing ${missing[*]}"
  sudo_cmd=""
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd="sudo"; fi
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S "$MERVOX_ROOT" -B "$MERVOX_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMERVOX_BUILD_TESTS="$mervox_tests" >/dev/null
cmake --build "$MERVOX_BUILD" -j"$(nproc)"
