#!/usr/bin/env bash
# Remakes the README's moving picture, docs/round.gif, with the program
# itself: five and a half seconds of the first demonstration (a chain
# grown to three links, a turn of the board, kicks and pushes) exported
# by `mervox --export` losslessly, then made a looping GIF of 25 frames a
# second by FFmpeg with a palette of the clip's own colours (no dithering:
# the picture is flat colours).
#
# usage: scripts/readme_clip.sh [build dir]
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
game="$(readlink -f "${1:-$repo/build}")/game"
work="$(mktemp -d /tmp/mervox-clip-XXXXXX)"
trap 'rm -rf "$work"' EXIT

(cd "$game" && ./mervox --export data/demo1.dat --mode 4 --from 2230 --to 2560 --out "$work/round.mkv") >/dev/null
ffmpeg -v error -y -i "$work/round.mkv" -an \
  -vf "fps=25,split[a][b];[a]palettegen=max_colors=128:stats_mode=full[p];[b][p]paletteuse=dither=none" \
  -loop 0 "$repo/docs/round.gif"
echo "readme_clip: docs/round.gif, $(($(stat -c %s "$repo/docs/round.gif") / 1024)) KB"
