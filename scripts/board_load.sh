#!/usr/bin/env bash
# A bounded load test of mervox-board on the loopback address: a board of
# 100 000 verified rounds (one a name), the board page and /api/v1/scores
# each asked by 64 clients at once (wrk), and, while that runs, a round
# submitted every half second and timed from its 202 to "verified".
# Everything it starts it stops; it talks to 127.0.0.1 only and ends by
# itself after about two minutes.
#
# usage: scripts/board_load.sh [sqlite|postgres] [BUILD_DIR]
#   env: SECONDS_EACH (15), CONNECTIONS (64), ROUNDS (100000), THREADS
#        (the server's --threads; its own default unless given)
set -euo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"
backend="${1:-sqlite}"
build="${2:-$src/build}"
board="$build/mervox-board"
seconds="${SECONDS_EACH:-15}"
connections="${CONNECTIONS:-64}"
rounds="${ROUNDS:-100000}"
fail() { echo "board_load: $*" >&2; exit 1; }
[ -x "$board" ] || fail "no $board: build it first (cmake --build $build --target mervox-board)"
command -v wrk >/dev/null || fail "needs wrk (Debian's wrk package)"

work="$(mktemp -d /tmp/mervox-board-load-XXXXXX)"
pids=()
cluster=""
cleanup() {
  for p in "${pids[@]}"; do kill -TERM "$p" 2>/dev/null || true; done
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null || true; done
  [ -z "$cluster" ] || bash "$src/scripts/pg_scratch.sh" stop "$cluster"
  rm -rf "$work"
}
trap cleanup EXIT

case "$backend" in
  sqlite)
    db="$work/board.db"
    crlf="char(13) || char(10)"
    run_sql() { python3 -c 'import sqlite3,sys; c=sqlite3.connect(sys.argv[1]); c.executescript(sys.stdin.read()); c.commit()' "$db"; }
    ;;
  postgres)
    # The cluster's owner (postgres, when run as root) must reach its folder.
    chmod 711 "$work"
    cluster="$work/pg"
    db="$(bash "$src/scripts/pg_scratch.sh" start "$cluster")"
    crlf="chr(13) || chr(10)"
    run_sql() { psql -XAtq -v ON_ERROR_STOP=1 "$db" >/dev/null; }
    ;;
  *) fail "the backend is sqlite or postgres, not $backend" ;;
esac

# The schema, as the board makes it; then the rounds, straight into it.
"$board" reverify --db "$db" >/dev/null
start=$(date +%s)
run_sql <<EOF
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < $rounds)
INSERT INTO player (name_key, name, token_hash, created_at) SELECT 'bench' || i, 'Bench' || i, 'x', 1765000000 FROM n;
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < $rounds)
INSERT INTO submission (name_key, digest, recording, records, address, state, score, level, frames, cleared,
                        sim_version, submitted_at, verified_at)
SELECT 'bench' || i, 'bench-digest-' || i, '00010001' || $crlf, 1, '127.0.0.1', 'verified',
       (i * 7919) % 60000, 1 + i % 20, 3000 + i % 9000, i % 300, '1', 1765000000 + i, 1765000001 + i FROM n;
UPDATE player SET (best_id, best_score, best_frames) =
  (SELECT id, score, frames FROM submission s WHERE s.name_key = player.name_key);
UPDATE board_meta SET value = '$rounds' WHERE key = 'ranked';
EOF
# As a board that has been running a while would be: statistics gathered
# (and, on PostgreSQL, the visibility map that index-only scans need).
if [ "$backend" = postgres ]; then echo "VACUUM ANALYZE;" | run_sql; else echo "ANALYZE;" | run_sql; fi
echo "board_load: $backend board of $rounds verified rounds made in $(( $(date +%s) - start )) s"

port="$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')"
threads=()
[ -z "${THREADS:-}" ] || threads=(--threads "$THREADS")
if [ "$backend" = postgres ]; then
  # As a larger board runs: the web server verifies nothing, a worker does.
  "$board" serve --listen "127.0.0.1:$port" --db "$db" --verifiers 0 --rate 0 --name-rate 0 --quiet \
    "${threads[@]}" 2>"$work/serve.log" &
  pids+=($!)
  "$board" verify --db "$db" --workers 1 2>"$work/verify.log" &
  pids+=($!)
else
  "$board" serve --listen "127.0.0.1:$port" --db "$db" --verifiers 1 --rate 0 --name-rate 0 --quiet \
    "${threads[@]}" 2>"$work/serve.log" &
  pids+=($!)
fi
base="http://127.0.0.1:$port"
for _ in $(seq 1 200); do
  python3 -c "import urllib.request; urllib.request.urlopen('$base/healthz', timeout=1)" 2>/dev/null && break
  sleep 0.05
done

# Rounds submitted while the load runs, each timed until it is verified.
submitter() {
  python3 - "$base" "$1" "$2" <<'PY'
import json, sys, time, urllib.request
base, seconds, tag = sys.argv[1], float(sys.argv[2]), sys.argv[3]
times, end, k = [], time.time() + seconds, 0
while time.time() < end:
    k += 1
    at = 10 + k + 500 * int(tag)
    body = ("%05d%03d\r\n%05d000\r\n" % (at, 1 + k % 4, at + 10)).encode()
    req = urllib.request.Request("%s/api/v1/submissions?name=ld%s_%d" % (base, tag, k), data=body,
                                 method="POST", headers={"Content-Type": "text/plain"})
    sid = json.load(urllib.request.urlopen(req, timeout=30))["id"]
    accepted = time.monotonic()
    while True:
        doc = json.load(urllib.request.urlopen("%s/api/v1/submissions/%d" % (base, sid), timeout=30))
        if doc["state"] not in ("pending", "running"):
            break
        time.sleep(0.005)
    times.append(time.monotonic() - accepted)
    if doc["state"] != "verified":
        print("board_load: round %d ended %s" % (sid, doc["state"]))
    time.sleep(0.5)
times.sort()
pick = lambda q: times[min(len(times) - 1, int(q * len(times)))] * 1000
print("  time to verify under load: %d rounds, median %.0f ms, p90 %.0f ms, max %.0f ms"
      % (len(times), pick(0.5), pick(0.9), times[-1] * 1000))
PY
}

phase=0
for path in "/" "/api/v1/scores?limit=20&offset=0" "/api/v1/scores?limit=100&offset=50000"; do
  phase=$((phase + 1))
  echo "board_load: GET $path, $connections connections, $seconds s"
  submitter "$seconds" "$phase" >"$work/submitter.out" &
  sub=$!
  wrk -t 2 -c "$connections" -d "${seconds}s" --timeout 10s --latency "$base$path" >"$work/wrk.out" || true
  wait "$sub" || true
  grep -E 'Requests/sec|^ +(50|90|99)%|Non-2xx|Socket errors|Latency +[0-9]' "$work/wrk.out" | sed 's/^/  /'
  cat "$work/submitter.out"
done
echo "board_load: done"
