#!/usr/bin/env bash
# Where a frame's time goes at full screen, for one build or several side
# by side in the same run: each build's game plays the same recording in
# its window on a private X server of the size given (the game draws at the
# scale its sharp drawing picks for that screen), first as fast as it can,
# then at its own pacing, and then draws the same frames without a window
# at that scale. Every run prints the time per frame of the drawing, the
# picture's upload to the renderer, its showing and the whole (median and
# 95th and 99th percentile); the paced run also the time between passes,
# which is 16.7 ms when the game holds 60 frames a second.
#
# usage: scripts/frame_timing.sh [--size WxH] [--recording FILE --mode N]
#                                [--updates N] [--rounds N] BUILD_DIR...
#
# The builds run in turn, round after round, so that a change in the
# machine's load falls on all of them alike; the load is printed before and
# after. Needs Xvfb (scripts/setup.sh --tests installs it).
set -euo pipefail

size=1920x1080
recording=data/demo1.dat
mode=4
updates=1800
rounds=1
builds=()
while [ $# -gt 0 ]; do
  case "$1" in
    --size) size="$2"; shift 2 ;;
    --recording) recording="$2"; shift 2 ;;
    --mode) mode="$2"; shift 2 ;;
    --updates) updates="$2"; shift 2 ;;
    --rounds) rounds="$2"; shift 2 ;;
    -h|--help) sed -n '2,18p' "$0"; exit 0 ;;
    *) builds+=("$(readlink -f "$1")"); shift ;;
  esac
done
[ "${#builds[@]}" -gt 0 ] || { echo "usage: $0 [--size WxH] [--recording FILE --mode N] [--updates N] [--rounds N] BUILD_DIR..." >&2; exit 2; }
for b in "${builds[@]}"; do
  [ -x "$b/game/mervox" ] || { echo "frame_timing: no program at $b/game/mervox" >&2; exit 1; }
done

source "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/x_session.sh"
work="$(mktemp -d /tmp/mervox-frame-timing-XXXXXX)"
xvfb_pid=""
fail() {
  echo "frame_timing: $*" >&2
  exit 1
}
finish() {
  if [ -n "$xvfb_pid" ] && kill -0 "$xvfb_pid" 2>/dev/null; then kill "$xvfb_pid" || true; wait "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap finish EXIT
start_xvfb "${size}x24"

# The X server's processor time so far, in milliseconds: the frames the
# game shows cost the server their copy too.
xvfb_cpu_ms() {
  local ticks
  ticks="$(awk '{print $14 + $15}' "/proc/$xvfb_pid/stat")"
  echo $((ticks * 1000 / $(getconf CLK_TCK)))
}
# in_window ARGS...: one timedemo in the window, then the server's share.
in_window() {
  local before after
  before="$(xvfb_cpu_ms)"
  ./mervox --timedemo "$recording" --mode "$mode" --to "$updates" --fullscreen "$@"
  after="$(xvfb_cpu_ms)"
  echo "  X server: $((after - before)) ms of processor time, $(((after - before) * 1000 / updates)) us a frame"
}

echo "load before: $(uptime)"
echo "screen $size, $recording in mode $mode, updates 1 to $updates"
for round in $(seq 1 "$rounds"); do
  for b in "${builds[@]}"; do
    echo
    echo "== $b (round $round)"
    cd "$b/game"
    in_window
    in_window --paced
    scale="$(./mervox --timedemo "$recording" --mode "$mode" --to 2 --fullscreen | sed -n 's/.*drawn at scale \([0-9]\).*/\1/p')"
    ./mervox --timedemo "$recording" --mode "$mode" --to "$updates" --draw-scale "${scale:-1}"
  done
done
echo
echo "load after: $(uptime)"
