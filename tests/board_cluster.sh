#!/usr/bin/env bash
# mervox-board as separate processes killed the hard way: on PostgreSQL a
# web server and verification workers (three sharing 300 rounds, one killed
# while it holds a job, the server killed and restarted); on SQLite the one
# process killed and restarted. Nothing accepted is lost, every round is
# verified once. Loopback only; the cluster is the run's scratch one.
#
# usage: board_cluster.sh <mervox binary> <build dir>
# (MERVOX_BOARD: the board program; MERVOX_TEST_PG_URL: the scratch cluster,
#  both set by ctest; without the URL this check makes a cluster itself)
set -euo pipefail
here="$(dirname "$(readlink -f "$0")")"
board="${MERVOX_BOARD:-$2/mervox-board}"
work="$(mktemp -d /tmp/mervox-board-cluster-XXXXXX)"
own_cluster=""
cleanup() {
  [ -z "$own_cluster" ] || bash "$here/../scripts/pg_scratch.sh" stop "$own_cluster"
  rm -rf "$work"
}
trap cleanup EXIT

python3 "$here/board/cluster_check.py" "$board" sqlite - "$work"

url="${MERVOX_TEST_PG_URL:-}"
if [ -z "$url" ]; then
  own_cluster="$(mktemp -d /tmp/mervox-pg-XXXXXX)"
  rmdir "$own_cluster"
  url="$(bash "$here/../scripts/pg_scratch.sh" start "$own_cluster")"
fi
db="cluster_$$"
psql -XAtq "$url" -c "CREATE DATABASE $db" >/dev/null
db_url="$(sed "s|@/[^?]*?|@/$db?|" <<<"$url")"
python3 "$here/board/cluster_check.py" "$board" postgres "$db_url" "$work"
