#!/usr/bin/env bash
# The timedemo in the game's window under Xvfb, which has no graphics
# processor: the window takes SDL's software renderer (OpenGL would run on
# Mesa's llvmpipe), a 1920x1080 full screen shows the picture at 1440x1080
# drawn at scale 3, every update is drawn and shown, and the table names
# each stage. Also the same run paced as the game, and SDL_RENDER_DRIVER
# still choosing the renderer when set.
#
# usage: e2e_frame_timing.sh <mervox binary> <build dir>
set -euo pipefail

binary="$(readlink -f "$1")"
build="$(readlink -f "$2")"
source "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/../scripts/x_session.sh"
begin_window_check e2e_frame_timing Xvfb
copy_game_folder
start_xvfb 1920x1080x24
cd "$work/game"

./mervox --timedemo data/demo1.dat --mode 4 --to 40 --fullscreen >"$work/game.log" 2>&1 ||
  fail "the timedemo in a full-screen window failed"
grep -q "full screen 1920x1080, picture shown 1440x1080, drawn at scale 3 (1920x1440), renderer software, unpaced" \
  "$work/game.log" || fail "not the full-screen layout, scale or renderer expected"
grep -q "^  40 frames, 40 updates" "$work/game.log" || fail "not every update drawn and shown"
for stage in update draw upload present total; do
  [ "$(grep -c "^  $stage " "$work/game.log")" -ge 1 ] || fail "no line for $stage"
done
[ "$(grep -c "^  total " "$work/game.log")" -eq 2 ] || fail "the total wanted in wall-clock and processor time"

./mervox --timedemo data/demo1.dat --mode 4 --to 40 --windowed --scale 1 --paced >"$work/game.log" 2>&1 ||
  fail "the paced timedemo in a window failed"
grep -q "window 640x480, picture shown 640x480, drawn at scale 1 (640x480), renderer software, paced as the game" \
  "$work/game.log" || fail "not the window expected"
grep -q "^  pass " "$work/game.log" || fail "the paced run gives no time between passes"

# Only where Mesa's OpenGL is installed (SDL falls back to software without it).
if ldconfig -p | grep -q libGLX_mesa.so; then
  SDL_RENDER_DRIVER=opengl ./mervox --timedemo data/demo1.dat --mode 4 --to 5 --windowed --scale 1 >"$work/game.log" 2>&1 ||
    fail "the timedemo with SDL_RENDER_DRIVER=opengl failed"
  grep -q "renderer opengl" "$work/game.log" || fail "SDL_RENDER_DRIVER=opengl was not kept"
fi
echo "e2e_frame_timing: ok"
