#!/usr/bin/env bash
# The start-up question and the options screen in a real X window under
# Xvfb, with no desktop dialog helper: the question is asked in the game's
# window in the desktop's language, each answer leads where it should
# (Escape and a click on "No": a window; Return: the full screen; closing
# the window: the end), and the title's options screen changes and keeps
# options.txt from the keyboard.
#
# usage: e2e_question.sh <mervox binary> <build dir>
set -euo pipefail

binary="$(readlink -f "$1")"
build="$(readlink -f "$2")"

source "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/../scripts/x_session.sh"
begin_window_check e2e_question Xvfb xdotool import convert
copy_game_folder options.txt

# No dialog helper on the path: the question must not need one.
mkdir -p "$work/bin"
for tool in zenity kdialog; do
  printf '#!/bin/sh\nexit 127\n' >"$work/bin/$tool"
  chmod +x "$work/bin/$tool"
done
export PATH="$work/bin:$PATH"

start_xvfb 1280x1024x24
export SDL_AUDIODRIVER=dummy
export MERVOX_RUN_LOG=1

start_game() {  # language
  : >"$work/game.log"
  ( cd "$work/game" && exec env LANGUAGE= LC_ALL= LC_MESSAGES= LANG="$1" ./mervox "${@:2}" ) >"$work/game.log" 2>&1 &
  game_pid=$!
  wait_for_window
}

end_game() {  # expects the program to end by itself with status 0
  game_ends "the program did not end"
}

quit_game() {  # Escape on the title
  press_until_end Escape "Escape on the title did not end the program"
}

shot() {  # name
  import -window "$window" "$work/$1.png"
  if [ -n "${MERVOX_SHOTS:-}" ]; then cp "$work/$1.png" "$MERVOX_SHOTS/"; fi
}

# 1. English desktop: Escape answers no; the title follows. The options
# screen opens with O: Right turns the marks on, Down and Right choose
# Japanese, Escape closes it and keeps the file; Escape again quits.
start_game en_GB.UTF-8
sleep 1
shot question-en
grep -q "full-screen question answered" "$work/game.log" && fail "answered before any key"
xdotool key --delay 80 Escape
wait_for_log "full-screen question answered: window" 60
wait_for_title
sleep 2
shot title-en
xdotool key --delay 80 o
wait_for_log "options screen opened" 60
sleep 0.5
shot options-en
# One key a pass at the most: keys pressed within one pass would be taken
# in the screen's order, not the player's.
xdotool key --delay 80 Right
sleep 0.5
xdotool key --delay 80 Down
sleep 0.5
xdotool key --delay 80 Right
sleep 0.5
shot options-changed
xdotool key --delay 80 Escape
wait_for_log "options screen closed" 60
options_written() {
  grep -q "^colour_marks = on$" "$work/game/options.txt" 2>/dev/null &&
    grep -q "^language = ja$" "$work/game/options.txt"
}
wait_until 60 "options.txt with colour_marks = on and language = ja" options_written
kill -0 "$game_pid" 2>/dev/null || fail "closing the options screen with Escape also quit"
sleep 0.5
quit_game
grep -q "settings and scores saved" "$work/game.log" || fail "no save at the end"

# 2. Japanese desktop (the file now says ja anyway): Return takes the
# highlighted answer, yes: the game goes on full screen.
printf 'language = desktop\n' >"$work/game/options.txt"
start_game ja_JP.UTF-8
sleep 1
shot question-ja
xdotool key --delay 80 Return
wait_for_log "full-screen question answered: full screen" 60
wait_for_window
wait_for_title
sleep 2
kill -0 "$game_pid" 2>/dev/null || fail "the program ended after yes"
quit_game

# 3. A click on "No" answers no.
start_game en_US.UTF-8
sleep 1
xdotool mousemove --window "$window" 400 280 click 1
wait_for_log "full-screen question answered: window" 60
wait_for_title
quit_game

# 4. A request to end while it asks (as closing the window is; without a
# window manager, SIGTERM, which SDL hands over the same way) ends the
# program at once; with --windowed nothing is asked.
start_game C
sleep 1
kill -TERM "$game_pid"
end_game
grep -q "full-screen question answered: quit" "$work/game.log" || fail "closing the window was not an end"
start_game C --windowed
wait_for_title
grep -q "full-screen question" "$work/game.log" && fail "--windowed asked the question"
quit_game

echo "e2e_question: PASS"
