#!/usr/bin/env bash
# --export read back with FFmpeg's own tools: the clip's length, picture
# size and sound track for each kind, a decoded picture against the
# headless screenshot of the same update, the effects and the music heard
# where the round plays them, and every failure saying so and leaving no
# file behind (Ctrl+C included).
#
# usage: export_clip.sh <mervox binary> <build dir>
set -uo pipefail

binary="$(readlink -f "$1")"
build="$(readlink -f "$2")"
work="$(mktemp -d /tmp/mervox-export-XXXXXX)"
trap 'rm -rf "$work"' EXIT

for tool in ffmpeg ffprobe; do
  command -v "$tool" >/dev/null || { echo "export_clip: FAIL: $tool is not installed (scripts/setup.sh)"; exit 1; }
done

# Two game folders: the build's, and the same without its music, where
# only the effects and voices sound.
mkdir -p "$work/game/snd" "$work/quiet/snd"
cp -r "$build/game/data" "$work/game/"
cp -r "$build/game/data" "$work/quiet/"
cp "$build/game/snd/"*.wav "$work/quiet/snd/"
cp "$build/game/snd/"* "$work/game/snd/"
cd "$work/game"

failures=0
notes=""
fail() { echo "export_clip: FAIL: $*"; failures=$((failures + 1)); }

stream() {  # stream <v|a> <entry> <file>
  ffprobe -v error -select_streams "$1:0" -show_entries "stream=$2" -of default=nw=1:nk=1 "$3" | head -n1
}
pictures() { ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames -of csv=p=0 "$1"; }
duration() { ffprobe -v error -show_entries format=duration -of csv=p=0 "$1"; }
# within <a> <b> <tolerance>: |a - b| <= tolerance
within() { awk -v a="$1" -v b="$2" -v t="$3" 'BEGIN { d = a - b; if (d < 0) d = -d; exit !(d <= t) }'; }
# The PSNR of picture <index> of a clip against a PNG.
psnr() {
  rm -f "$work/decoded.png"
  ffmpeg -v error -i "$1" -vf "select=eq(n\,$2)" -frames:v 1 "$work/decoded.png" || { echo 0; return; }
  ffmpeg -v info -i "$work/decoded.png" -i "$3" -lavfi psnr -f null - 2>&1 |
    sed -n 's/.*average:\([0-9.inf]*\).*/\1/p' | sed 's/inf/99/' | head -n1
}
# The mean volume (dB) of <seconds> of a clip's sound from <start>.
loudness() {
  ffmpeg -v info -ss "$2" -t "$3" -i "$1" -vn -af volumedetect -f null - 2>&1 |
    sed -n 's/.*mean_volume: \(-*[0-9.]*\) dB.*/\1/p' | head -n1
}

# 1. Each kind: length, picture size, sound track, and the pictures being
#    those of the headless screenshots, update for update.
check_kind() {  # check_kind <ending> <scale> <from> <to> <audio codec> <rate>
  local ending="$1" scale="$2" from="$3" to="$4" codec="$5" rate="$6"
  local clip="$work/clip-$scale.$ending" frames=$(($4 - $3 + 1))
  if ! "$binary" --export data/demo1.dat --out "$clip" --from "$from" --to "$to" --draw-scale "$scale" \
       >"$work/out" 2>"$work/err"; then
    fail ".$ending: export failed: $(cat "$work/err")"
    return
  fi
  [ -f "$clip.partial" ] && fail ".$ending: the temporary file was left"
  [ "$(stream v width "$clip")x$(stream v height "$clip")" = "$((640 * scale))x$((480 * scale))" ] ||
    fail ".$ending: picture $(stream v width "$clip")x$(stream v height "$clip"), want $((640 * scale))x$((480 * scale))"
  local n
  n="$(pictures "$clip")"
  [ "$n" = "$frames" ] || fail ".$ending: $n pictures, want $frames"
  within "$(duration "$clip")" "$(awk -v n="$frames" 'BEGIN { print n / 60 }')" "$(awk 'BEGIN { print 1 / 60 + 0.0005 }')" ||
    fail ".$ending: lasts $(duration "$clip") s, want $frames/60 s to a frame"
  [ "$(stream a codec_name "$clip")" = "$codec" ] || fail ".$ending: sound is $(stream a codec_name "$clip"), want $codec"
  [ "$(stream a sample_rate "$clip")" = "$rate" ] || fail ".$ending: sound at $(stream a sample_rate "$clip") Hz, want $rate"
  [ "$(stream a channels "$clip")" = "2" ] || fail ".$ending: sound not in stereo"

  # The screenshot of an update in the middle of the clip, and of one a
  # quarter second later: the picture must be the first, not the second.
  local at=$(((from + to) / 2)) later=$(((from + to) / 2 + 15))
  rm -rf "$work/shots" && mkdir "$work/shots"
  "$binary" --headless --replay data/demo1.dat --screenshot "$at,$later" --out "$work/shots" --draw-scale "$scale" >/dev/null
  local right wrong
  right="$(psnr "$clip" $((at - from)) "$work/shots/frame-$at.png")"
  wrong="$(psnr "$clip" $((at - from)) "$work/shots/frame-$later.png")"
  awk -v p="$right" 'BEGIN { exit !(p >= 35) }' || fail ".$ending: picture of update $at is $right dB from its screenshot, want >= 35"
  awk -v p="$right" -v q="$wrong" 'BEGIN { exit !(p > q) }' ||
    fail ".$ending: picture of update $at is as close to update $later's screenshot ($wrong dB) as to its own ($right dB)"
  notes="$notes .$ending ${right}/${wrong} dB;"
  grep -q "frames" "$work/out" || fail ".$ending: no closing line on stdout"
}

# Around the first chain of the first demonstration: a board turn, kicks,
# blocks vanishing.
check_kind mp4 1 1201 1320 aac 44100
check_kind webm 2 1261 1320 opus 48000
check_kind mkv 1 1291 1320 flac 44100

# 2. The sound: an effect heard where the round starts it, silence where
#    nothing sounds (no music in the quiet folder), and the music heard
#    over that silence in the full one.
"$binary" --headless --replay data/demo1.dat --trace "$work/trace" >/dev/null
# The updates that started an effect.
grep -n '"fx":\[[0-9]' "$work/trace" | cut -d: -f1 >"$work/fx"
from=401 to=700
# An effect started at least 3 s after the previous one (so nothing else
# sounds just before it), and a quarter second with no effect started in
# the 3 s before it.
effect="$(awk -v a="$from" -v b="$to" '$1 >= a + 30 && $1 <= b - 30 && $1 - prev >= 180 { print $1; exit } { prev = $1 }' "$work/fx")"
quiet="$(awk -v a="$from" -v b="$to" '
  { starts[NR] = $1 } END {
    for (f = a + 30; f <= b - 30; ++f) {
      ok = 1
      for (k in starts) if (starts[k] > f - 180 && starts[k] <= f + 15) { ok = 0; break }
      if (ok) { print f; exit }
    }
  }' "$work/fx")"
if [ -z "$effect" ] || [ -z "$quiet" ]; then
  fail "no lone effect or quiet stretch in updates $from-$to of demo1 (effect '$effect', quiet '$quiet')"
else
  (cd "$work/quiet" && "$binary" --export data/demo1.dat --out "$work/quiet.mkv" --from "$from" --to "$to" >/dev/null 2>"$work/err") ||
    fail "export without music failed: $(cat "$work/err")"
  "$binary" --export data/demo1.dat --out "$work/music.mkv" --from "$from" --to "$to" >/dev/null 2>"$work/err" ||
    fail "export with music failed: $(cat "$work/err")"
  seconds() { awk -v f="$1" -v a="$from" 'BEGIN { printf "%.4f", (f - a) / 60 }'; }
  heard="$(loudness "$work/quiet.mkv" "$(seconds "$effect")" 0.25)"
  silent="$(loudness "$work/quiet.mkv" "$(seconds "$quiet")" 0.25)"
  music="$(loudness "$work/music.mkv" "$(seconds "$quiet")" 0.25)"
  notes="$notes effect $heard dB, quiet $silent dB, music $music dB"
  awk -v e="$heard" -v s="$silent" 'BEGIN { exit !(e != "" && s != "" && e > s + 20) }' ||
    fail "the effect at update $effect is $heard dB, the quiet stretch at $quiet $silent dB: want the effect 20 dB louder"
  awk -v m="$music" -v s="$silent" 'BEGIN { exit !(m != "" && m > s + 20) }' ||
    fail "with music the quiet stretch at $quiet is $music dB, without $silent dB: the music is not heard"
fi

# 3. Failures: one line on stderr saying why, exit 1, and no file.
expect_failure() {  # expect_failure <text> <clip> -- <arguments...>
  local text="$1" clip="$2"
  shift 3
  "$binary" "$@" >/dev/null 2>"$work/err"
  local got=$?
  [ "$got" -eq 1 ] || fail "mervox $* exited $got, want 1"
  grep -qF -- "$text" "$work/err" || fail "mervox $* said \"$(cat "$work/err")\", want \"$text\""
  [ -e "$clip" ] && fail "mervox $* left $clip"
  [ -e "$clip.partial" ] && fail "mervox $* left $clip.partial"
  return 0
}
expect_failure "its name must end in .webm, .mp4 or .mkv" "$work/clip.avi" -- \
  --export data/demo1.dat --out "$work/clip.avi" --to 10
expect_failure "cannot write $work/none/clip.mp4" "$work/none/clip.mp4" -- \
  --export data/demo1.dat --out "$work/none/clip.mp4" --to 10
expect_failure "cannot open recording data/none.dat" "$work/clip.webm" -- \
  --export data/none.dat --out "$work/clip.webm" --to 10
expect_failure "the round has frames 1 to" "$work/clip.mkv" -- \
  --export data/demo1.dat --out "$work/clip.mkv" --from 999999
# A clip already there is left as it was by an export that fails.
echo "a player's clip" >"$work/kept.mp4"
"$binary" --export data/none.dat --out "$work/kept.mp4" >/dev/null 2>&1
[ "$(cat "$work/kept.mp4")" = "a player's clip" ] || fail "a failed export changed the file already at its path"

# Ctrl+C halfway: the export stops, says so, removes its file, exits
# non-zero.
"$binary" --export data/demo1.dat --out "$work/stopped.webm" --draw-scale 2 >/dev/null 2>"$work/err" &
pid=$!
for _ in $(seq 1 600); do
  [ -s "$work/stopped.webm.partial" ] && break
  sleep 0.1
done
kill -INT "$pid"
wait "$pid"
got=$?
[ "$got" -ne 0 ] || fail "Ctrl+C: the export exited 0"
grep -q "export stopped" "$work/err" || fail "Ctrl+C: said \"$(cat "$work/err")\""
[ -e "$work/stopped.webm" ] && fail "Ctrl+C left the clip"
[ -e "$work/stopped.webm.partial" ] && fail "Ctrl+C left the partial file"

if [ "$failures" -ne 0 ]; then
  echo "export_clip: $failures failure(s)"
  exit 1
fi
echo "export_clip: PASS ($notes)"
