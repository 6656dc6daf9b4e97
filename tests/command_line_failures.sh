#!/usr/bin/env bash
# Every way the command line can fail, tried as a player would: usage errors
# exit 2, files that cannot be read or written exit 1, each with exactly one
# line on stderr. A damaged sprite sheet is named once and the pictures are
# still written without it.
#
# usage: command_line_failures.sh <mervox binary> <build dir>
set -uo pipefail

binary="$(readlink -f "$1")"
build="$(readlink -f "$2")"
work="$(mktemp -d /tmp/mervox-cli-XXXXXX)"
trap 'rm -rf "$work"' EXIT

cp -r "$build/game/data" "$work/data"
rm -f "$work/data/replay.dat"
cd "$work"

failures=0
# expect <exit status> <text the one stderr line holds> -- <arguments...>
expect() {
  local want="$1" text="$2"
  shift 3
  "$binary" "$@" >"$work/out" 2>"$work/err"
  local got=$?
  local lines
  lines=$(wc -l <"$work/err")
  if [ "$got" -ne "$want" ] || [ "$lines" -ne 1 ] || ! grep -qF -- "$text" "$work/err"; then
    echo "command_line_failures: FAIL: mervox $* exited $got (want $want), stderr ($lines lines, want 1 with \"$text\"):"
    sed 's/^/    /' "$work/err"
    failures=$((failures + 1))
  fi
}

mkdir -p "$work/locked"
chmod 0555 "$work/locked"

# Usage.
expect 2 "unknown option --frobnicate" -- --frobnicate
expect 2 "--mode takes 1 to 5" -- --headless --replay data/tuto.dat --mode 9
expect 2 "--headless needs --replay FILE" -- --headless
expect 2 "--replay needs a value" -- --headless --replay
expect 2 "--screenshot takes frame numbers" -- --headless --replay data/tuto.dat --screenshot 1,,2
expect 2 "--scale takes 1 to 16" -- --scale 0
expect 2 "--soak takes 1 to 10000000 rounds" -- --soak 0
expect 2 "--paced needs --timedemo FILE with --windowed or --fullscreen" -- --timedemo data/tuto.dat --paced
expect 2 "--paced needs --timedemo FILE with --windowed or --fullscreen" -- --fullscreen --paced
expect 2 "draws at the window's scale" -- --timedemo data/tuto.dat --windowed --draw-scale 2
expect 2 "--export needs --out CLIP" -- --export data/tuto.dat
expect 2 "--from and --to need --export FILE" -- --headless --replay data/tuto.dat --from 10
expect 2 "--from and --to need --export FILE" -- --headless --replay data/tuto.dat --to 10
expect 2 "--to comes before --from" -- --export data/tuto.dat --out clip.mp4 --from 20 --to 10
expect 2 "--from takes a frame number from 1" -- --export data/tuto.dat --out clip.mp4 --from 0
# Files.
expect 1 "cannot open recording data" -- --headless --replay data
expect 1 "cannot open recording data/none.dat" -- --headless --replay data/none.dat
expect 1 "cannot open recording data" -- --timedemo data --mode 3
expect 1 "cannot open recording data" -- --watch data --mode 3
expect 1 "cannot write trace" -- --headless --replay data/tuto.dat --mode 3 --trace data
if [ "$(id -u)" -ne 0 ]; then
  expect 1 "cannot write frame 100" -- --headless --replay data/tuto.dat --mode 3 --screenshot 100 --out locked
fi
expect 1 "cannot write frame 100" -- --headless --replay data/tuto.dat --mode 3 --screenshot 100 --out data/tuto.dat

# The score board: none set, then one nothing answers on (a port of
# 127.0.0.1 that no program holds: the first of a few found closed).
expect 2 "--submit needs a value" -- --submit
expect 1 "no board is set" -- --submit data/tuto.dat
expect 1 "no board is set" -- --board
closed=""
for p in 9 19 29 39 49; do
  if ! (exec 3<>"/dev/tcp/127.0.0.1/$p") 2>/dev/null; then closed=$p; break; fi
done
if [ -n "$closed" ]; then
  printf 'board = http://127.0.0.1:%s\nplayer = ann\n' "$closed" >options.txt
  expect 1 "cannot be reached" -- --submit data/tuto.dat
  expect 1 "cannot be reached" -- --board
  expect 1 "not a recording" -- --submit data/number.png
  rm -f options.txt
fi

# A damaged number sheet: named once at start-up, the round still plays and
# the picture is still written.
head -c 100 "$build/game/data/number.png" >data/number.png
mkdir -p shots
expect 0 "cannot load data/number.png" -- --headless --replay data/tuto.dat --mode 3 --screenshot 100 --out shots
if [ ! -s shots/frame-100.png ]; then
  echo "command_line_failures: FAIL: no picture written with a damaged number sheet"
  failures=$((failures + 1))
fi

chmod 0755 "$work/locked"
if [ "$failures" -ne 0 ]; then
  echo "command_line_failures: $failures case(s) failed"
  exit 1
fi
echo "command_line_failures: every case passed"
