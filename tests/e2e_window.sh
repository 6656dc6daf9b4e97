#!/usr/bin/env bash
# The game in a real X window under Xvfb, driven by xdotool: the title
# appears, Z starts a round, a held Escape ends it, Escape on the title
# quits, and the settings and high scores are written on the way out. Then
# the viewer: --watch draws at the window's resolution, F12 writes the
# picture as drawn, Alt+Enter to the full screen draws the next frames at
# its larger scale, and Escape leaves it.
#
# usage: e2e_window.sh <mervox binary> <build dir>
set -euo pipefail

binary="$(readlink -f "$1")"
build="$(readlink -f "$2")"

source "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/../scripts/x_session.sh"
begin_window_check e2e_window Xvfb xdotool import convert identify
copy_game_folder config.txt data/scr.hsc

# Without a display the program refuses to start and names the headless
# ways of running instead.
if no_display="$(cd "$work/game" && env -u DISPLAY -u WAYLAND_DISPLAY ./mervox --windowed 2>&1)"; then
  fail "the program ran without a display"
fi
echo "$no_display" | grep -q -- "--headless" || fail "no hint at the headless options: $no_display"

start_xvfb 1280x1024x24
echo "e2e_window: Xvfb on $DISPLAY"

export SDL_AUDIODRIVER=dummy
export MERVOX_RUN_LOG=1
export MERVOX_PACING_LOG=1
( cd "$work/game" && exec ./mervox --windowed ) >"$work/game.log" 2>&1 &
game_pid=$!

wait_for_window
echo "e2e_window: window $window"
wait_for_title

# The title, once its fade-in (40 updates) is over.
title_drawn() {
  import -window root "$work/title.png"
  colours="$(convert "$work/title.png" -format '%k' info:)"
  deviation="$(convert "$work/title.png" -format '%[fx:int(1000*standard_deviation)]' info:)"
  [ "$colours" -ge 8 ] && [ "$deviation" -ge 10 ]
}
wait_until 60 "a title screenshot that is not blank" title_drawn
echo "e2e_window: title screenshot has $colours colours, deviation $deviation/1000"

# Z starts a game: after the fade-out the round runs (run mode 1).
press_until_log z "run mode 0 -> 1"
round_drawn() {
  import -window root "$work/round.png"
  ! cmp -s <(convert "$work/title.png" rgb:-) <(convert "$work/round.png" rgb:-)
}
wait_until 60 "the round to look unlike the title" round_drawn

# Escape held for more than a second (it counts once the ready countdown
# is over) ends the round; it returns to the title.
xdotool keydown Escape
wait_for_log "the round's end begins" 120
xdotool keyup Escape
wait_for_log "run mode 1 -> 0" 120

# F halves the drawn frame rate; Escape on the title ends the program,
# which saves the settings and scores on the way out.
sleep 0.5
xdotool key --delay 80 f
sleep 0.5
xdotool key --delay 80 Escape
game_ends "Escape on the title did not end the program"
grep -q "settings and scores saved" "$work/game.log" || fail "no save at the end"

[ -f "$work/game/config.txt" ] || fail "config.txt was not written"
[ -f "$work/game/data/scr.hsc" ] || fail "data/scr.hsc was not written"
size="$(stat -c %s "$work/game/config.txt")"
[ "$size" -eq 158 ] || fail "config.txt has $size bytes, not 158"
head -c 14 "$work/game/config.txt" | grep -q "FRAMERATE.= 30" || fail "config.txt does not hold the changed frame rate"
scores="$(tr -d '\r' <"$work/game/data/scr.hsc" | tr '\n' ' ')"
[ "$scores" = "020000 008000 003000" ] || fail "unexpected high scores: $scores"
ls "$work/game"/*.tmp "$work/game/data"/*.tmp >/dev/null 2>&1 && fail "temporary files were left behind"

grep "pacing" "$work/game.log" || true

# The viewer in a window of 640x480 is drawn at scale 1; on the full screen
# of 1280x1024 the picture is shown twice as large and drawn at scale 2.
rm -rf "$work/game/screenshots"
( cd "$work/game" && exec ./mervox --watch data/demo1.dat --mode 4 --at 1500 --scale 1 ) >"$work/game.log" 2>&1 &
game_pid=$!
wait_for_window
# shot SIZE [TRIES]: F12 writes the next picture of the viewer, of that
# size; a picture of another size is taken again, up to TRIES times in all
# (the full screen comes when the X server has resized the window).
pictures=0
shot() {
  local tries="${2:-1}" file size colours n
  while :; do
    xdotool key --delay 80 F12
    pictures=$((pictures + 1))
    n=0
    while [ "$(grep -c "mervox: screenshot " "$work/game.log" || true)" -lt "$pictures" ]; do
      n=$((n + 1))
      [ "$n" -le 600 ] || fail "F12 wrote no picture $pictures in the viewer (waited 60 s)"
      kill -0 "$game_pid" 2>/dev/null || fail "the viewer ended early"
      sleep 0.1
    done
    file="$(grep "mervox: screenshot " "$work/game.log" | sed -n "${pictures}p" | sed 's/^mervox: screenshot //')"
    size="$(identify -format '%wx%h' "$work/game/$file")"
    tries=$((tries - 1))
    [ "$size" != "$1" ] && [ "$tries" -gt 0 ] && { sleep 1; continue; }
    break
  done
  colours="$(convert "$work/game/$file" -format '%k' info:)"
  echo "e2e_window: viewer picture $pictures is $size with $colours colours"
  [ "$size" = "$1" ] || fail "the viewer's picture $pictures is $size, not $1"
  [ "$colours" -ge 8 ] || fail "the viewer's picture $pictures looks blank"
}
sleep 1.5
shot 640x480
xdotool key --delay 80 alt+Return
sleep 1.5
shot 1280x960 30
press_until_end Escape "Escape did not leave the viewer" "the viewer"

echo "e2e_window: PASS"
