#!/usr/bin/env bash
# An installation under a temporary prefix, run under Xvfb from a folder
# without data/: it reads its data from the prefix and writes the player's
# files under a temporary XDG_DATA_HOME, never into the prefix.
#
# usage: e2e_install.sh <mervox binary> <build dir>
set -euo pipefail

build="$(readlink -f "$2")"
source "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/../scripts/x_session.sh"
begin_window_check e2e_install Xvfb xdotool import convert

prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >"$work/install.log" || fail "cmake --install failed: $(cat "$work/install.log")"
for f in bin/mervox share/mervox/data/title.png share/mervox/data/tuto.dat share/mervox/snd/bgm1-1.ogg \
         share/mervox/snd/push.wav share/applications/io.github.mervox.mervox.desktop \
         share/metainfo/io.github.mervox.mervox.metainfo.xml share/man/man6/mervox.6 \
         share/icons/hicolor/16x16/apps/mervox.png share/icons/hicolor/256x256/apps/mervox.png; do
  [ -e "$prefix/$f" ] || fail "$f was not installed"
done
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/io.github.mervox.mervox.desktop" ||
    fail "the desktop entry is not valid"
fi
touch "$work/installed"
sleep 1

start_xvfb 1024x768x24
export SDL_AUDIODRIVER=dummy
export MERVOX_RUN_LOG=1
export XDG_DATA_HOME="$work/xdg"
mkdir -p "$work/elsewhere"

( cd "$work/elsewhere" && exec "$prefix/bin/mervox" --windowed ) >"$work/game.log" 2>&1 &
game_pid=$!
wait_for_window
wait_for_title

# The title is drawn from the installed sheets.
title_drawn() {
  import -window root "$work/title.png"
  [ "$(convert "$work/title.png" -format '%k' info:)" -ge 8 ]
}
wait_until 60 "a title that is not blank" title_drawn
press_until_log z "run mode 0 -> 1"
xdotool key --delay 80 F12
wait_for_log "mervox: screenshot " 60
xdotool keydown Escape
wait_for_log "the round's end begins" 120
xdotool keyup Escape
wait_for_log "run mode 1 -> 0" 120
sleep 0.5
press_until_end Escape "Escape on the title did not end the program"

# The replay viewer and a headless run, started from elsewhere too, find
# the recording named as in a game folder and draw and sound from the
# installed data: nothing is named as missing.
mkdir -p "$work/shots"
( cd "$work/elsewhere" && "$prefix/bin/mervox" --headless --replay data/demo1.dat --mode 4 --screenshot 600 \
  --out "$work/shots" ) >"$work/headless.log" 2>&1 || fail "headless from elsewhere: $(cat "$work/headless.log")"
grep -q "cannot" "$work/headless.log" && fail "the headless run missed installed data: $(cat "$work/headless.log")"
[ -f "$work/shots/frame-600.png" ] || fail "no picture from the headless run"
( cd "$work/elsewhere" && exec "$prefix/bin/mervox" --watch data/demo1.dat --at 600 ) \
  >"$work/viewer.log" 2>&1 &
game_pid=$!
wait_for_window
sleep 1.5
press_until_end Escape "Escape did not end the viewer" "the viewer"
grep -q "cannot" "$work/viewer.log" && fail "the viewer missed installed data: $(cat "$work/viewer.log")"

mine="$XDG_DATA_HOME/mervox"
[ "$(stat -c %s "$mine/config.txt")" -eq 158 ] || fail "no 158-byte config.txt in $mine"
[ -f "$mine/controls.txt" ] || fail "no controls.txt in $mine"
[ -f "$mine/data/scr.hsc" ] && [ ! -L "$mine/data/scr.hsc" ] || fail "no scr.hsc of the player's own"
ls "$mine/screenshots"/mervox-*.png >/dev/null 2>&1 || fail "no screenshot in $mine/screenshots"
changed="$(find "$prefix" -newer "$work/installed" | head -n 3)"
[ -z "$changed" ] || fail "the program wrote into the installation: $changed"
[ -z "$(ls -A "$work/elsewhere")" ] || fail "the program wrote into the current folder"
echo "e2e_install: PASS"
