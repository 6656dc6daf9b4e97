#!/usr/bin/env bash
# A throwaway PostgreSQL cluster for the board's tests and benchmark: made
# in a scratch folder, reachable only through a unix socket in that folder
# (no TCP port at all), removed after.
#
#   scripts/pg_scratch.sh start DIR   makes DIR, starts the cluster, prints
#                                     its URL on stdout
#   scripts/pg_scratch.sh stop DIR    stops it (immediately) and removes DIR
#
# The URL is postgresql://postgres@/postgres?host=DIR&port=5432; the port
# only names the socket file, so clusters in different folders never meet.
# PostgreSQL refuses to run as root: as root the cluster belongs to the
# postgres user (Debian's postgresql package makes it); as anyone else it
# belongs to that user. Durability is switched off: a scratch cluster
# loses nothing a test needs when the machine stays up.
set -euo pipefail
fail() { echo "pg_scratch: $*" >&2; exit 1; }
[ $# -eq 2 ] || fail "usage: pg_scratch.sh start|stop DIR"
cmd="$1"
dir="$2"
port=5432

bindir="${MERVOX_PG_BINDIR:-}"
if [ -z "$bindir" ]; then
  for d in $(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V -r); do
    [ -x "$d/initdb" ] && { bindir="$d"; break; }
  done
fi
[ -n "$bindir" ] && [ -x "$bindir/initdb" ] ||
  fail "no PostgreSQL server found (install Debian's postgresql package, or set MERVOX_PG_BINDIR)"

as_owner=()
if [ "$(id -u)" -eq 0 ]; then
  id postgres >/dev/null 2>&1 || fail "running as root, but there is no postgres user to own the cluster"
  as_owner=(runuser -u postgres --)
fi

case "$cmd" in
  start)
    [ ! -e "$dir" ] || [ -z "$(ls -A "$dir" 2>/dev/null)" ] || fail "$dir exists and is not empty"
    mkdir -p "$dir"
    dir="$(cd "$dir" && pwd)"
    # The socket's path must fit in sun_path (107 bytes).
    [ ${#dir} -le 80 ] || fail "$dir is too long a path for a unix socket"
    # The postgres user must be able to reach the folder as well.
    if [ ${#as_owner[@]} -gt 0 ]; then
      chown postgres: "$dir"
      p="$dir"
      while [ "$p" != / ]; do
        p="$(dirname "$p")"
        [ "$(stat -c %a "$p" | cut -c3)" != 0 ] || fail "$p is closed to the postgres user"
      done
    fi
    chmod 700 "$dir"
    "${as_owner[@]}" "$bindir/initdb" -D "$dir/data" -U postgres --auth=trust --no-sync \
      --encoding=UTF8 --locale=C >"$dir/initdb.log" 2>&1 ||
      { cat "$dir/initdb.log" >&2; fail "initdb failed"; }
    "${as_owner[@]}" "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
      -o "-k $dir -p $port -c listen_addresses='' -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c max_connections=200 -c shared_buffers=32MB" \
      start >/dev/null 2>&1 ||
      { cat "$dir/server.log" >&2 2>/dev/null; fail "the server did not start"; }
    echo "postgresql://postgres@/postgres?host=$dir&port=$port"
    ;;
  stop)
    [ -d "$dir" ] || exit 0
    dir="$(cd "$dir" && pwd)"
    if [ -f "$dir/data/postmaster.pid" ]; then
      "${as_owner[@]}" "$bindir/pg_ctl" -D "$dir/data" -m immediate -w -t 60 stop >/dev/null 2>&1 || true
    fi
    rm -rf "$dir"
    ;;
  *)
    fail "usage: pg_scratch.sh start|stop DIR"
    ;;
esac
