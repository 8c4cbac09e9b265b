#!/usr/bin/env bash
# A private PostgreSQL 15 server for the tests: its own data folder under the
# build tree, listening on 127.0.0.1 only, run as the postgres user when the
# script runs as root.
#   postgres.sh start DIR   prints the port it listens on
#   postgres.sh stop DIR
set -euo pipefail
action=$1
dir=$2
bin=$(ls -d /usr/lib/postgresql/15/bin 2>/dev/null || true)
[ -n "$bin" ] || { echo "postgres.sh: PostgreSQL 15 is not installed" >&2; exit 1; }

as_owner() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

case "$action" in
start)
  mkdir -p "$dir"
  if [ "$(id -u)" -eq 0 ]; then
    chown postgres "$dir"
    if ! runuser -u postgres -- test -w "$dir"; then
      echo "postgres.sh: the postgres user cannot reach $dir (a parent folder is closed to it)" >&2
      exit 1
    fi
  fi
  if [ ! -f "$dir/data/PG_VERSION" ]; then
    as_owner "$bin/initdb" -D "$dir/data" -U postgres --auth=trust -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1 \
      || { cat "$dir/initdb.log" >&2; exit 1; }
  fi
  as_owner "$bin/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null 2>&1 || true
  port=55432
  while (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; do port=$((port + 1)); done
  as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
    -o "-p $port -k $dir -c listen_addresses=127.0.0.1 -c fsync=off -c full_page_writes=off" start >/dev/null \
    || { tail -20 "$dir/server.log" >&2; exit 1; }
  echo "$port"
  ;;
stop)
  [ -f "$dir/data/postmaster.pid" ] && as_owner "$bin/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null 2>&1 || true
  ;;
*)
  echo "usage: postgres.sh start|stop DIR" >&2; exit 2
  ;;
esac
