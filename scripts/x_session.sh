# The game in a window under a private X server, for the window checks in
# tests/ and for scripts/readme_shots.sh. Sourced; the caller provides $work
# (a scratch folder) and a `fail` function.

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

# wait_for_window: waits for the window titled mervox of the program
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
    found="$(xdotool search --name '^mervox$' 2>/dev/null | head -n1 || true)"
    if [ -n "$found" ]; then
      sleep 0.2
      again="$(xdotool search --name '^mervox$' 2>/dev/null | head -n1 || true)"
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
