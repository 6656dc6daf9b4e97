#!/usr/bin/env bash
# Installs what is missing, builds mervox and runs a score board on this
# machine: http://127.0.0.1:8080/, kept in board.db in the current folder.
# Any arguments go to `mervox-board serve` (--listen, --db, --verifiers).
set -euo pipefail
here="$(pwd)"
source "$(dirname "$0")/scripts/setup.sh" --play
cd "$here"
exec "$MERVOX_BUILD/mervox-board" serve "$@"
