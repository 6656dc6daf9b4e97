#!/usr/bin/env bash
# The score board as a player meets it, in a real X window under Xvfb: a
# mervox-board started on 127.0.0.1, two lines in options.txt, a round
# sent with --submit and listed by --board; in the game, L on the title
# opens the board screen, Z opens the chosen round in the viewer, Return
# takes it over and Escape leaves the practice, saved.
#
# usage: e2e_board.sh <mervox binary> <build dir>
set -euo pipefail

binary="$(readlink -f "$1")"
build="$(readlink -f "$2")"
source_dir="$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/.."

source "$source_dir/scripts/x_session.sh"
begin_window_check e2e_board Xvfb xdotool import convert
copy_game_folder config.txt data/scr.hsc data/replay.dat options.txt board_token.txt outbox practice
[ -x "$build/mervox-board" ] || fail "no mervox-board in $build"

# A port nothing listens on: the board refuses to start on a taken one,
# and another is tried.
board_up=""
for _ in 1 2 3 4 5; do
  port=$((20000 + RANDOM % 40000))
  "$build/mervox-board" serve --listen "127.0.0.1:$port" --db "$work/board.db" --verifiers 1 --quiet \
    >"$work/board.log" 2>&1 &
  other_pid=$!
  printf 'board = http://127.0.0.1:%s\nplayer = ann\n' "$port" >"$work/game/options.txt"
  for _ in $(seq 1 50); do
    kill -0 "$other_pid" 2>/dev/null || break
    if (cd "$work/game" && ./mervox --board) >/dev/null 2>&1; then board_up=1; break 2; fi
    sleep 0.2
  done
  kill "$other_pid" 2>/dev/null || true
  wait "$other_pid" 2>/dev/null || true
done
[ -n "$board_up" ] || fail "mervox-board did not start: $(cat "$work/board.log")"
echo "e2e_board: board on 127.0.0.1:$port"

verdict="$(cd "$work/game" && ./mervox --submit "$source_dir/tests/app/data/bot_round.dat")" ||
  fail "--submit failed: $verdict"
echo "e2e_board: $verdict"
echo "$verdict" | grep -q "^verified: score [0-9]*, level [0-9]*, 1st of 1" || fail "unexpected verdict: $verdict"
listing="$(cd "$work/game" && ./mervox --board)"
echo "$listing" | grep -q "^ *1  ann " || fail "--board does not list the round: $listing"
[ "$(stat -c %a "$work/game/board_token.txt")" = 600 ] || fail "the token file is readable by others"

start_xvfb 1280x1024x24
export SDL_AUDIODRIVER=dummy
export MERVOX_RUN_LOG=1
( cd "$work/game" && exec ./mervox --windowed --scale 1 ) >"$work/game.log" 2>&1 &
game_pid=$!
wait_for_window
sleep 2
import -window root "$work/title.png"

xdotool key --delay 80 l
sleep 2
import -window root "$work/board.png"
if cmp -s <(convert "$work/title.png" rgb:-) <(convert "$work/board.png" rgb:-); then
  fail "L on the title showed no board screen"
fi

# Z on the first row (ann's round) downloads it and the viewer plays it.
xdotool key --delay 80 z
wait_for_log "a round of the board opened in the viewer" 10
wait_for_log "run mode 0 -> 1" 10
# The viewer measures the round at its first update, then plays it.
sleep 3
# Return takes the round over; Escape leaves the practice and saves it.
xdotool key --delay 80 Return
sleep 2
xdotool key --delay 80 Escape
for _ in $(seq 1 100); do
  ls "$work/game/practice"/*.dat >/dev/null 2>&1 && break
  sleep 0.2
done
ls "$work/game/practice"/*.dat >/dev/null 2>&1 || fail "no practice saved from the board's round"
echo "e2e_board: practice saved as $(ls "$work/game/practice")"
wait_for_log "run mode 1 -> 0" 10
sleep 1.5
xdotool key --delay 80 Escape
game_ends "Escape on the title did not end the program"
[ -d "$work/game/outbox" ] && [ -n "$(ls "$work/game/outbox"/*.dat 2>/dev/null)" ] &&
  fail "a watched or practised round went to the outbox"
echo "e2e_board: PASS"
