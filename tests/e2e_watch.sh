#!/usr/bin/env bash
# The viewer in a real X window under Xvfb, driven by xdotool: --watch
# draws at the window's resolution, F12 writes the picture as drawn, and
# Alt+Enter to the full screen draws the next frames at its larger scale;
# Escape leaves the viewer.
#
# usage: e2e_watch.sh <mervox binary> <build dir>
set -euo pipefail

binary="$(readlink -f "$1")"
build="$(readlink -f "$2")"

for tool in Xvfb xdotool identify convert; do
  if ! command -v "$tool" >/dev/null; then
    echo "e2e_watch: $tool is missing (scripts/setup.sh installs it)"
    exit 1
  fi
done

work="$(mktemp -d /tmp/mervox-e2e-XXXXXX)"
xvfb_pid=""
game_pid=""
cleanup() {
  if [ -n "$game_pid" ] && kill -0 "$game_pid" 2>/dev/null; then kill "$game_pid" || true; fi
  if [ -n "$xvfb_pid" ] && kill -0 "$xvfb_pid" 2>/dev/null; then kill "$xvfb_pid" || true; fi
  if [ -n "$xvfb_pid" ]; then wait "$xvfb_pid" 2>/dev/null || true; fi
  if [ "${KEEP_E2E:-}" = "" ]; then rm -rf "$work"; else echo "e2e_watch: kept $work"; fi
}
trap cleanup EXIT

fail() {
  echo "e2e_watch: FAIL: $*"
  echo "--- program output ---"
  cat "$work/game.log" 2>/dev/null || true
  exit 1
}
source "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/../scripts/x_session.sh"

mkdir -p "$work/game"
if [ -d "$build/game" ]; then
  cp -r "$build/game/." "$work/game/"
fi
rm -rf "$work/game/screenshots" "$work/game/options.txt" "$work/game/mervox"
cp "$binary" "$work/game/mervox"

start_xvfb 1600x1200x24
echo "e2e_watch: Xvfb on $DISPLAY"

export SDL_AUDIODRIVER=dummy
( cd "$work/game" && exec ./mervox --watch data/demo1.dat --mode 4 --at 1500 --scale 2 ) >"$work/game.log" 2>&1 &
game_pid=$!
wait_for_window
echo "e2e_watch: window $window"

# shot N EXPECTED-SIZE: F12 writes the Nth picture, of that size.
shot() {
  xdotool key --delay 80 F12
  local n=0
  while [ "$(grep -c "mervox: screenshot " "$work/game.log" || true)" -lt "$1" ]; do
    n=$((n + 1))
    [ "$n" -le 100 ] || fail "F12 wrote no picture $1"
    kill -0 "$game_pid" 2>/dev/null || fail "the viewer ended early"
    sleep 0.1
  done
  local file size colours
  file="$(grep "mervox: screenshot " "$work/game.log" | sed -n "$1p" | sed 's/^mervox: screenshot //')"
  size="$(identify -format '%wx%h' "$work/game/$file")"
  colours="$(convert "$work/game/$file" -format '%k' info:)"
  echo "e2e_watch: picture $1 is $size with $colours colours"
  [ "$size" = "$2" ] || fail "picture $1 is $size, not $2"
  [ "$colours" -ge 8 ] || fail "picture $1 looks blank"
}

sleep 1.5
# A window of twice 640x480 is drawn at scale 2.
shot 1 1280x960
# The full screen of 1600x1200 shows the picture 2.5 times: drawn at 3.
xdotool key --delay 80 alt+Return
sleep 1.5
shot 2 1920x1440

xdotool key --delay 80 Escape
for _ in $(seq 1 100); do
  kill -0 "$game_pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$game_pid" 2>/dev/null; then fail "Escape did not leave the viewer"; fi
status=0
wait "$game_pid" || status=$?
game_pid=""
[ "$status" -eq 0 ] || fail "the viewer exited with status $status"
echo "e2e_watch: PASS"
