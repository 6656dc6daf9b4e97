#!/usr/bin/env bash
# Installs what is missing, builds mervox and starts the game.
set -euo pipefail
source "$(dirname "$0")/scripts/setup.sh" --play
cd "$MERVOX_BUILD/game"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "mervox: no display here, so no window can open."
  echo "Playing the first demonstration headless instead:"
  echo "  (cd $MERVOX_BUILD/game && ./mervox --headless --replay data/demo1.dat --mode 4)"
  exec ./mervox --headless --replay data/demo1.dat --mode 4
fi
exec ./mervox "$@"
