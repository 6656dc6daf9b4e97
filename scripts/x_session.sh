# The game in a window under a private X server, for the window checks in
# tests/ and for scripts/readme_shots.sh. Sourced. A window check calls
# begin_window_check, which provides the scratch folder $work and `fail`;
# any other caller provides both itself.

# begin_window_check NAME TOOL...: what every window check does first. Ends
# the check at once, saying so, when one of the tools is missing; makes the
# scratch folder $work; defines `fail`, which reports the check failed with
# the program's output ($work/game.log) and exits; and on the way out ends
# the check's game ($game_pid), any other program it started ($other_pid)
# and its X server, waits until the server has gone, and removes $work
# (KEEP_E2E=1 keeps it).
begin_window_check() {
  check_name="$1"
  shift
  for tool in "$@"; do
    if ! command -v "$tool" >/dev/null; then
      echo "$check_name: $tool is missing (scripts/setup.sh installs it)"
      exit 1
    fi
  done
  work="$(mktemp -d "/tmp/mervox-${check_name#e2e_}-XXXXXX")"
  xvfb_pid=""
  game_pid=""
  other_pid=""
  trap end_window_check EXIT
  fail() {
    echo "$check_name: FAIL: $*"
    echo "--- program output ---"
    cat "$work/game.log" 2>/dev/null || true
    exit 1
  }
}

end_window_check() {
  for pid in "$game_pid" "$other_pid" "$xvfb_pid"; do
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill "$pid" || true; fi
  done
  # Until the server has gone, its socket still answers: the next check's
  # game could reach it instead of its own server.
  if [ -n "$xvfb_pid" ]; then wait "$xvfb_pid" 2>/dev/null || true; fi
  if [ "${KEEP_E2E:-}" = "" ]; then rm -rf "$work"; else echo "$check_name: kept $work"; fi
}

# copy_game_folder [PATH...]: a copy of the build's game folder in
# $work/game with the program under test ($binary) in it, so that the check
# writes its files there; the paths named (inside the folder) are removed.
copy_game_folder() {
  mkdir -p "$work/game"
  if [ -d "$build/game" ]; then cp -r "$build/game/." "$work/game/"; fi
  mkdir -p "$work/game/data"
  for path in "$@" mervox; do rm -rf "${work:?}/game/$path"; done
  cp "$binary" "$work/game/mervox"
}

# wait_for_log PATTERN SECONDS: waits until the program's output holds the
# pattern; fails after the seconds given, or at once when the game ends
# without having written it.
wait_for_log() {
  local n=0
  while ! grep -q -- "$1" "$work/game.log"; do
    n=$((n + 1))
    [ "$n" -le $(($2 * 10)) ] || fail "waited $2 s for \"$1\""
    if [ -n "$game_pid" ] && ! kill -0 "$game_pid" 2>/dev/null; then
      grep -q -- "$1" "$work/game.log" || fail "the program ended before writing \"$1\""
    fi
    sleep 0.1
  done
}

# wait_until SECONDS WHAT COMMAND...: runs the command every half second
# until it succeeds; fails, naming WHAT, after the seconds given. The checks
# wait for what they look for, never a fixed time: on a busy machine the
# game's updates come later, not wrong, so the bounds are generous.
wait_until() {
  local seconds="$1" what="$2" n=0
  shift 2
  until "$@"; do
    n=$((n + 1))
    [ "$n" -le $((seconds * 2)) ] || fail "waited $seconds s for $what"
    sleep 0.5
  done
}

# game_ends MESSAGE [WHAT]: waits up to a minute for the game $game_pid to
# end, which it must with status 0; fails with MESSAGE when it does not
# end. WHAT names the program in the message about its status.
game_ends() {
  for _ in $(seq 1 600); do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$game_pid" 2>/dev/null && fail "$1 (waited 60 s)"
  local status=0
  wait "$game_pid" || status=$?
  game_pid=""
  [ "$status" -eq 0 ] || fail "${2:-the program} exited with status $status"
}

# press_until_log KEY PATTERN: presses KEY, again every ten seconds until
# the program's output holds the pattern, for at most a minute. For keys
# that a second press while the first one takes effect leaves alone.
press_until_log() {
  for _ in 1 2 3 4 5 6; do
    xdotool key --delay 80 "$1"
    for _ in $(seq 1 100); do
      grep -q -- "$2" "$work/game.log" && return 0
      sleep 0.1
    done
  done
  fail "$1 pressed six times in a minute, and still no \"$2\""
}

# press_until_end KEY MESSAGE [WHAT]: presses KEY, again every ten seconds
# while the game $game_pid goes on (a key pressed while a window is being
# replaced can be lost), for at most a minute; then as game_ends.
press_until_end() {
  for _ in 1 2 3 4 5 6; do
    xdotool key --delay 80 "$1"
    for _ in $(seq 1 100); do
      kill -0 "$game_pid" 2>/dev/null || break 2
      sleep 0.1
    done
  done
  game_ends "${@:2}"
}

# start_xvfb SIZE: starts Xvfb (SIZE as 1024x768x24), which reports the
# display number it took, waits until it answers, and exports DISPLAY; sets
# xvfb_pid. Another server starting at the same moment can take the number
# first: tries three times, each time ending the server that did not come
# up, so that no check talks to another check's server.
#
# Each check also gets a runtime folder of its own (a fresh machine may have
# no XDG_RUNTIME_DIR at all) and names SDL's X11 driver, so that a server
# that cannot be reached fails the check with X's own words instead of SDL
# falling back to a driver that shows no window.
#
# The server is started with -noreset: by default an X server resets itself
# each time its last client leaves, and the check's own probes are such
# clients, so a game starting right after them could find the server in the
# middle of its reset and see no display at all ("x11 not available").
start_xvfb() {
  display_number=""
  for _attempt in 1 2 3; do
    exec 3<> <(:)
    Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 1 300); do
      if read -r -t 0.1 display_number <&3; then break; fi
      kill -0 "$xvfb_pid" 2>/dev/null || break
    done
    if [ -n "$display_number" ]; then
      # It must answer, and be this server answering (a server of an
      # earlier check that is still going can hold the same number's
      # socket for a moment).
      for _ in $(seq 1 50); do
        if DISPLAY=":$display_number" xdpyinfo >/dev/null 2>&1; then
          sleep 0.3
          kill -0 "$xvfb_pid" 2>/dev/null && DISPLAY=":$display_number" xdpyinfo >/dev/null 2>&1 && break 2
          break
        fi
        sleep 0.1
      done
    fi
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    display_number=""
    sleep 1
  done
  [ -n "$display_number" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  export DISPLAY=":$display_number"
  unset WAYLAND_DISPLAY
  export SDL_VIDEODRIVER=x11
  export XDG_RUNTIME_DIR="$work/runtime"
  mkdir -p -m 700 "$XDG_RUNTIME_DIR"
}

# x_server_state: whether this check's X server still runs and answers,
# with the end of its log, for a failure's message.
x_server_state() {
  local alive="gone" answers="does not answer"
  kill -0 "$xvfb_pid" 2>/dev/null && alive="running"
  xdpyinfo >/dev/null 2>&1 && answers="answers"
  echo "X server $DISPLAY (pid $xvfb_pid) $alive, $answers; its log: $(tail -n 3 "$work/xvfb.log" 2>/dev/null | tr '\n' ' ')"
}

# wait_for_window: waits for the shown window titled mervox of the program
# $game_pid and sets window. Keys go to the window under the pointer (no
# window manager runs), so the pointer is put on it.
#
# SDL may replace the first window it makes with another when the renderer
# wants a different visual, so a window found once can be gone a moment
# later (xdotool then dies of BadWindow). The window counts as settled when
# two searches a fifth of a second apart find the same one and the pointer
# could be put on it.
wait_for_window() {
  window=""
  local found="" again=""
  for _ in $(seq 1 150); do
    kill -0 "$game_pid" 2>/dev/null || fail "the program ended before its window appeared ($(x_server_state))"
    found="$(xdotool search --onlyvisible --name '^mervox$' 2>/dev/null | head -n1 || true)"
    if [ -n "$found" ]; then
      sleep 0.2
      again="$(xdotool search --onlyvisible --name '^mervox$' 2>/dev/null | head -n1 || true)"
      if [ "$found" = "$again" ] && xdotool mousemove --window "$found" 320 240 2>/dev/null; then
        window="$found"
        break
      fi
    fi
    sleep 0.1
  done
  [ -n "$window" ] || fail "no settled window titled mervox"
  xdotool windowfocus --sync "$window" 2>/dev/null || true
}

# wait_for_title: waits until the game's title takes keys (the program
# forgets on purpose the keys pressed before), then finds the window again
# and puts the pointer and the focus on it: on a busy machine SDL can
# replace its first window later than wait_for_window could tell, and keys
# sent to a window that has gone are lost.
wait_for_title() {
  wait_for_log "the title takes keys" 60
  wait_for_window
}
