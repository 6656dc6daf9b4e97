#!/usr/bin/env bash
# The shipped recordings pinned: each one's result line and a SHA-256 of its
# whole trace (the state after every update), kept in data/recordings.pin.
#
#   scripts/pin_recordings.sh [BUILD_DIR]          rewrite data/recordings.pin
#   scripts/pin_recordings.sh --check MERVOX_BINARY  compare, fail on any change
#
# Run the first form after a change that is meant to alter how a recording
# plays (new recordings, a deliberate change of the rules), and commit the pin.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
pin="$root/data/recordings.pin"
check=0
if [ "${1:-}" = "--check" ]; then
  check=1
  binary="$(readlink -f "$2")"
else
  binary="$(readlink -f "${1:-$root/build}/game/mervox")"
fi
if [ ! -x "$binary" ]; then
  echo "pin_recordings: no mervox at $binary (build it first)" >&2
  exit 1
fi

work="$(mktemp -d /tmp/mervox-pin-XXXXXX)"
trap 'rm -rf "$work"' EXIT
# The recordings in the repository, not whatever a build folder holds.
mkdir -p "$work/data"
cp "$root"/data/tuto.dat "$root"/data/demo1.dat "$root"/data/demo2.dat "$work/data/"

{
  for entry in "tuto 3" "demo1 4" "demo2 5"; do
    set -- $entry
    result="$(cd "$work" && "$binary" --headless --replay "data/$1.dat" --mode "$2" --trace "$work/$1.jsonl")"
    hash="$(sha256sum "$work/$1.jsonl" | cut -d' ' -f1)"
    echo "$1.dat mode=$2 $result trace-sha256=$hash"
  done
} >"$work/pin"

if [ "$check" -eq 0 ]; then
  cp "$work/pin" "$pin"
  echo "pin_recordings: wrote $pin"
  cat "$pin"
  exit 0
fi

if ! diff -u "$pin" "$work/pin"; then
  echo "pinned_recordings: FAIL: a shipped recording no longer plays as pinned in data/recordings.pin." >&2
  echo "If the change is meant, regenerate the pin with: scripts/pin_recordings.sh [BUILD_DIR]" >&2
  exit 1
fi
echo "pinned_recordings: the three shipped recordings play as pinned"
