#!/usr/bin/env bash
# The README's colour-vision pictures: a board of all five block colours
# without and with the colour marks, as seen with protanopia, deuteranopia
# and tritanopia and in grey (scripts/colour_vision.py), into docs/.
#
# usage: scripts/colour_vision.sh [BUILD_DIR]   (default ./build, built)
set -euo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$src/build}"
tmp="$(mktemp -d /tmp/mervox-vision-XXXXXX)"
trap 'rm -rf "$tmp"' EXIT
for look in plain marks; do
  "$build/tools/pictures/mervox_colour_board" "$build/game" "$tmp/$look.png" "$look"
  convert "$tmp/$look.png" "$tmp/$look.ppm"
  python3 "$src/scripts/colour_vision.py" "$tmp/$look.ppm" "$tmp/$look"
  row=("$tmp/$look.ppm")
  for seen in protanopia deuteranopia tritanopia grey; do row+=("$tmp/$look-$seen.ppm"); done
  convert "${row[@]}" -resize 50% +append "$tmp/row-$look.png"
done
convert "$tmp/row-plain.png" "$tmp/row-marks.png" -append -strip "$src/docs/colour-vision.png"
for seen in protanopia deuteranopia tritanopia grey; do
  convert "$tmp/marks-$seen.ppm" -strip "$src/docs/colour-marks-$seen.png"
done
convert "$tmp/marks.png" -strip "$src/docs/colour-marks.png"
echo "colour_vision: docs/colour-vision.png and docs/colour-marks*.png written"
