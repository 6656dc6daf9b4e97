#!/usr/bin/env bash
# The player's comforts in a real X window under Xvfb, driven by xdotool:
# a binding changed in controls.txt starts the game, F12 writes pictures of
# the frame without upsetting the 60 updates a second, P and a lost focus
# hold the round and P resumes it, and the round so paused is saved and
# replays the same way every time.
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
}

quit_game() {
  xdotool key --delay 80 Escape
  game_ends "Escape on the title did not end the program"
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
xdotool key --delay 80 space
wait_for_log "run mode 0 -> 1" 10
sleep 4

# F12 five times a second through a whole pacing period of 600 updates:
# pictures of the frame, and the pacing stays at 60 updates a second (or,
# on a machine too busy to keep 60 at all, only reported; the period before,
# F11, which does nothing, is pressed as often).
pacing_lines() { grep -c "pacing: 600" "$work/game.log" || true; }
wait_for_pacing_line() {  # count to reach
  local n=0
  while [ "$(pacing_lines)" -lt "$1" ]; do
    n=$((n + 1)); [ "$n" -le 300 ] || fail "no pacing line"; sleep 0.1
  done
}
wait_for_pacing_line 2
while [ "$(pacing_lines)" -lt 3 ]; do
  xdotool key F11
  sleep 0.2
done
while [ "$(pacing_lines)" -lt 4 ]; do
  xdotool key F12
  sleep 0.2
done
sleep 1
count="$(ls "$work/game/screenshots"/mervox-*.png 2>/dev/null | wc -l)"
[ "$count" -ge 10 ] || fail "only $count screenshots were written"
first="$(ls "$work/game/screenshots"/mervox-*.png | head -n1)"
[ "$(identify -format '%wx%h' "$first")" = "640x480" ] || fail "the screenshot is not 640x480"
[ "$(convert "$first" -format '%k' info:)" -ge 8 ] || fail "the screenshot looks blank"
basename "$first" | grep -Eq '^mervox-[0-9]{8}-[0-9]{6}(-[0-9]+)?\.png$' || fail "badly named: $first"
rate_of_line() { grep "pacing: 600" "$work/game.log" | sed -n "${1}p" | sed -n 's/.* = \([0-9.]*\) updates\/s.*/\1/p'; }
before="$(rate_of_line 3)"
during="$(rate_of_line 4)"
echo "e2e_ports: pacing $before updates/s before, $during updates/s while taking $count screenshots"
if awk -v r="$before" 'BEGIN { exit !(r >= 59.5 && r <= 60.5) }'; then
  awk -v r="$during" 'BEGIN { exit !(r >= 59.5 && r <= 60.5) }' || fail "pacing of $during updates/s while taking screenshots"
else
  # Another load shares the processors: the pacing swings by several
  # updates a second from one period to the next, screenshots or not.
  echo "e2e_ports: WARNING: the machine is too busy for 60 updates/s even without screenshots; pacing not judged"
fi

# Pictures that differ in no more than the measured frame rate's digits.
still() {
  local changed
  changed="$(compare -metric AE "$1" "$2" null: 2>&1 || true)"
  [ "${changed%%.*}" -le 100 ] 2>/dev/null
}
# P holds the round: the picture dims and stands still; P lets it go on.
import -window root "$work/running.png"
xdotool key --delay 80 p
sleep 1
import -window root "$work/paused1.png"
sleep 1.5
import -window root "$work/paused2.png"
still "$work/paused1.png" "$work/paused2.png" || fail "the paused round still moves"
bright() { convert "$1" -colorspace Gray -format '%[fx:int(1000*mean)]' info:; }
[ "$(bright "$work/paused1.png")" -lt "$(bright "$work/running.png")" ] || fail "the paused picture is not dimmed"
xdotool key --delay 80 p
sleep 1.5
import -window root "$work/resumed.png"
still "$work/paused2.png" "$work/resumed.png" && fail "P did not resume"

# Another window taking the focus holds the round too; P resumes it.
xmessage -geometry 200x50+700+600 "elsewhere" &
other_pid=$!
sleep 1
other="$(xdotool search --name '^xmessage$' | head -n1 || true)"
[ -n "$other" ] || fail "no other window"
xdotool windowfocus --sync "$other" 2>/dev/null || true
sleep 1
import -window root "$work/away1.png"
sleep 1
import -window root "$work/away2.png"
still "$work/away1.png" "$work/away2.png" || fail "the round goes on without the focus"
kill "$other_pid"
other_pid=""
xdotool mousemove --window "$window" 320 240
xdotool windowfocus --sync "$window" 2>/dev/null || true
sleep 0.5
xdotool key --delay 80 p

# The round runs out its time, is saved as the replay, and the title comes back.
wait_for_log "run mode 1 -> 0" 150
sleep 1.5
quit_game
[ -f "$work/game/data/replay.dat" ] || fail "the paused round was not saved as the replay"
( cd "$work/game" && ./mervox --headless --replay data/replay.dat --mode 1 --trace "$work/trace1.jsonl" ) >/dev/null 2>&1 ||
  fail "the saved round does not play back"
( cd "$work/game" && ./mervox --headless --replay data/replay.dat --mode 1 --trace "$work/trace2.jsonl" ) >/dev/null 2>&1
cmp -s "$work/trace1.jsonl" "$work/trace2.jsonl" || fail "the saved round plays back differently twice"
echo "e2e_ports: PASS"
