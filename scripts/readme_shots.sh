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
  # Until the server has gone, its socket still answers: the next check's
  # game could reach it instead of its own server.
  if [ -n "$xvfb_pid" ]; then wait "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "readme_shots: $*" >&2; exit 1; }
source "$repo/scripts/x_session.sh"

# A round of the first demonstration, 30 seconds in.
(cd "$game" && ./mervox --headless --replay data/demo1.dat --mode 4 --screenshot 1800 --out "$work") >/dev/null
cp "$work/frame-1800.png" "$repo/docs/round.png"

# The title, from a scratch copy of the game folder.
cp -r "$game" "$work/game"
rm -rf "$work/game/screenshots" "$work/game/config.txt"
start_xvfb 1024x768x24
export SDL_AUDIODRIVER=dummy
(cd "$work/game" && exec ./mervox --windowed) >/dev/null 2>&1 &
game_pid=$!
wait_for_window
sleep 4
xdotool key F12
sleep 1
xdotool key Escape
wait "$game_pid"
cp "$(ls "$work/game/screenshots"/mervox-*.png | head -n1)" "$repo/docs/title.png"
echo "docs/title.png and docs/round.png remade"
