#!/usr/bin/env bash
# mervox-board's pages in a real browser: Debian's chromium, headless,
# driven through chromium-driver over WebDriver (loopback only). The board
# and a player's page show the names and scores as text; a name holding a
# script, put straight into the database, shows as text and runs nothing.
#
# usage: board_browser.sh <mervox binary> <build dir>
# (MERVOX_BOARD: the board program, set by ctest)
set -euo pipefail
here="$(dirname "$(readlink -f "$0")")"
board="${MERVOX_BOARD:-$2/mervox-board}"
fail() { echo "board_browser: FAIL: $*"; exit 1; }
command -v chromedriver >/dev/null || fail "no chromedriver (Debian's chromium-driver)"
[ -x /usr/bin/chromium ] || fail "no /usr/bin/chromium (Debian's chromium)"

work="$(mktemp -d /tmp/mervox-board-browser-XXXXXX)"
server=""
cleanup() {
  if [ -n "$server" ]; then kill -TERM "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

port="$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')"
"$board" serve --listen "127.0.0.1:$port" --db "$work/board.db" --verifiers 1 --rate 0 --name-rate 0 \
  2>"$work/serve.log" &
server=$!
for _ in $(seq 1 200); do
  python3 -c "import urllib.request,sys; urllib.request.urlopen('http://127.0.0.1:$port/healthz', timeout=1)" \
    2>/dev/null && break
  kill -0 "$server" 2>/dev/null || { cat "$work/serve.log"; fail "the board did not start"; }
  sleep 0.05
done

# The interface refuses such a name: a moderator's slip or a later bug
# could still put one in, and the pages must not be the only guard.
rename=(python3 -c '
import sqlite3, sys
c = sqlite3.connect(sys.argv[1], timeout=10)
c.execute("UPDATE player SET name = ? WHERE name_key = ?", ("<script>alert(1)</script>", "hostile_x"))
c.commit()
' "$work/board.db")
BOARD_BROWSER_LOG="$work/chromedriver.log" timeout 300 \
  python3 "$here/board/browser_check.py" "http://127.0.0.1:$port" "$here/.." /usr/bin/chromedriver "${rename[@]}" ||
  { tail -20 "$work/serve.log"; exit 1; }
