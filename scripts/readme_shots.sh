#!/usr/bin/env bash
# Remakes the README's pictures in docs/ with the program itself: the title
# with the screenshot key (F12) in a window under Xvfb, a round with
# --screenshot.
#
# usage: scripts/readme_shots.sh [build dir]
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
game="$(readlink -f "${1:-$repo/build}")/game"
work="$(mktemp -d /tmp/mervox-shots-XXXXXX)"
xvfb_pid=""
cleanup() {
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# A round of the first demonstration, 30 seconds in.
(cd "$game" && ./mervox --headless --replay data/demo1.dat --mode 4 --screenshot 1800 --out "$work") >/dev/null
cp "$work/frame-1800.png" "$repo/docs/round.png"

# The title, from a scratch copy of the game folder.
cp -r "$game" "$work/game"
rm -rf "$work/game/screenshots" "$work/game/config.txt"
exec 3<> <(:)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
read -r -t 10 display_number <&3
export DISPLAY=":$display_number" SDL_AUDIODRIVER=dummy
(cd "$work/game" && exec ./mervox --windowed) >/dev/null 2>&1 &
game_pid=$!
for _ in $(seq 1 100); do
  window="$(xdotool search --name '^mervox$' 2>/dev/null | head -n1 || true)"
  [ -n "$window" ] && break
  sleep 0.1
done
xdotool mousemove --window "$window" 320 240
xdotool windowfocus --sync "$window" 2>/dev/null || true
sleep 4
xdotool key F12
sleep 1
xdotool key Escape
wait "$game_pid"
cp "$(ls "$work/game/screenshots"/mervox-*.png | head -n1)" "$repo/docs/title.png"
echo "docs/title.png and docs/round.png remade"
