#!/usr/bin/env bash
# Installs the Debian packages mervox needs (when missing), then configures and
# builds it in ./build. Sourced by play.sh and test.sh.
set -euo pipefail

MERVOX_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
MERVOX_BUILD="${MERVOX_BUILD:-$MERVOX_ROOT/build}"

packages=(
  build-essential cmake pkg-config
  libsdl2-dev libcairo2-dev libfontconfig1-dev libfreetype-dev
  libpng-dev zlib1g-dev libogg-dev libvorbis-dev
  libcurl4-openssl-dev libcpp-httplib-dev libssl-dev nlohmann-json3-dev libsqlite3-dev
  libgtest-dev libbenchmark-dev
  fonts-ipafont-gothic
  fonts-dejavu-core
  xvfb xauth xdotool x11-utils imagemagick
  espeak-ng
  clang libclang-rt-14-dev
)

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

cmake -S "$MERVOX_ROOT" -B "$MERVOX_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$MERVOX_BUILD" -j"$(nproc)"
