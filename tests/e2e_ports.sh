#!/usr/bin/env bash
# The player's comforts in a real X window under Xvfb, driven by xdotool:
# a binding changed in controls.txt starts the game, F12 writes a picture
# of the frame for every press, P and a lost focus hold the round and P
# resumes it, and the round so paused is saved and replays the same way
# every time.
#
# usage: e2e_ports.sh <mervox binary> <build dir>
set -euo pipefail

binary="$(readlink -f "$1")"
build="$(readlink -f "$2")"

source "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/../scripts/x_session.sh"
begin_window_check e2e_ports Xvfb xdotool xmessage import convert
copy_game_folder config.txt controls.txt screenshots data/replay.dat
# Any score is a best score, so the round is saved as the replay.
printf '000000\r\n000000\r\n000000' >"$work/game/data/scr.hsc"

start_xvfb 1024x768x24
export SDL_AUDIODRIVER=dummy
export MERVOX_RUN_LOG=1
export MERVOX_PACING_LOG=1

start_game() {
  ( cd "$work/game" && exec ./mervox --windowed ) >>"$work/game.log" 2>&1 &
  game_pid=$!
  wait_for_window
  wait_for_title
}

quit_game() {
  press_until_end Escape "Escape on the title did not end the program"
}

# The first run writes the default controls.txt; a damaged one is replaced.
start_game
sleep 1
quit_game
grep -q '^kick = Z, pad a$' "$work/game/controls.txt" || fail "no default controls.txt"
[ "$(stat -c %s "$work/game/config.txt")" -eq 158 ] || fail "config.txt is not 158 bytes"

# Kick (and with it the title's "play") moved to Space; Z does nothing.
sed -i 's/^kick = Z, pad a$/kick = Space, pad a, Nokey/' "$work/game/controls.txt"
: >"$work/game.log"
start_game
grep -q '"Nokey" names no key or pad button' "$work/game.log" || fail "the unknown name was not reported"
sleep 1.5
xdotool key --delay 80 z
sleep 1.5
grep -q "run mode 0 -> 1" "$work/game.log" && fail "Z still starts a game"
press_until_log space "run mode 0 -> 1"
sleep 4

# F12 ten times in the round: every press writes its picture, none is lost
# or skipped, 640x480 and named by the time. That the main loop only copies
# the frame and leaves the encoding to the writer thread is checked by the
# work counted in tests/app (NullPlatform.TheScreenshotKey...); the pacing
# with and without pictures is measured by bench_screenshot_bench
# (BM_PacingWithScreenshots). This check only reports the pacing it saw.
pictures_written() { [ "$(grep -c "mervox: screenshot " "$work/game.log" || true)" -ge "$1" ]; }
shots=10
for k in $(seq 1 "$shots"); do
  xdotool key F12
  wait_until 60 "the picture of F12 press $k" pictures_written "$k"
done
grep -q "screenshot skipped" "$work/game.log" && fail "a screenshot was skipped"
count="$(ls "$work/game/screenshots"/mervox-*.png 2>/dev/null | wc -l)"
[ "$count" -eq "$shots" ] || fail "$count screenshots for $shots presses of F12"
first="$(ls "$work/game/screenshots"/mervox-*.png | head -n1)"
[ "$(identify -format '%wx%h' "$first")" = "640x480" ] || fail "the screenshot is not 640x480"
[ "$(convert "$first" -format '%k' info:)" -ge 8 ] || fail "the screenshot looks blank"
basename "$first" | grep -Eq '^mervox-[0-9]{8}-[0-9]{6}(-[0-9]+)?\.png$' || fail "badly named: $first"
grep "pacing: 600" "$work/game.log" | sed 's/^mervox: /e2e_ports: (reported only) /' || true

# Pictures that differ in no more than the measured frame rate's digits.
still() {
  local changed
  changed="$(compare -metric AE "$1" "$2" null: 2>&1 || true)"
  [ "${changed%%.*}" -le 100 ] 2>/dev/null
}
# still_for NAME: two pictures a second apart, NAME1 and NAME2, that differ
# in no more than the digits.
still_for() {
  import -window root "$work/${1}1.png"
  sleep 1
  import -window root "$work/${1}2.png"
  still "$work/${1}1.png" "$work/${1}2.png"
}
# P holds the round: the picture dims and stands still; P lets it go on.
import -window root "$work/running.png"
xdotool key --delay 80 p
wait_until 60 "the paused round to stand still" still_for paused
bright() { convert "$1" -colorspace Gray -format '%[fx:int(1000*mean)]' info:; }
[ "$(bright "$work/paused1.png")" -lt "$(bright "$work/running.png")" ] || fail "the paused picture is not dimmed"
xdotool key --delay 80 p
moves_again() {
  import -window root "$work/resumed.png"
  ! still "$work/paused2.png" "$work/resumed.png"
}
wait_until 60 "the round to go on after the second P" moves_again

# Another window taking the focus holds the round too; P resumes it.
xmessage -geometry 200x50+700+600 "elsewhere" &
other_pid=$!
other_window() { other="$(xdotool search --name '^xmessage$' | head -n1 || true)"; [ -n "$other" ]; }
wait_until 60 "the other window" other_window
xdotool windowfocus --sync "$other" 2>/dev/null || true
wait_until 60 "the round to stand still without the focus" still_for away
kill "$other_pid"
other_pid=""
xdotool mousemove --window "$window" 320 240
xdotool windowfocus --sync "$window" 2>/dev/null || true
sleep 0.5
xdotool key --delay 80 p

# The round runs out its time, is saved as the replay, and the title comes back.
wait_for_log "run mode 1 -> 0" 400
sleep 1.5
quit_game
[ -f "$work/game/data/replay.dat" ] || fail "the paused round was not saved as the replay"
( cd "$work/game" && ./mervox --headless --replay data/replay.dat --mode 1 --trace "$work/trace1.jsonl" ) >/dev/null 2>&1 ||
  fail "the saved round does not play back"
( cd "$work/game" && ./mervox --headless --replay data/replay.dat --mode 1 --trace "$work/trace2.jsonl" ) >/dev/null 2>&1
cmp -s "$work/trace1.jsonl" "$work/trace2.jsonl" || fail "the saved round plays back differently twice"
echo "e2e_ports: PASS"
