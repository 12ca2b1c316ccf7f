#!/usr/bin/env bash
# A throw-away PostgreSQL cluster on a loopback port, for the tests that meet the central server.
#
#   eval "$(scripts/pg-cluster.sh start)"   starts one and prints the export lines of its settings
#   scripts/pg-cluster.sh stop              stops the cluster named by QAV_TEST_PGDIR and removes it
#
# The role qav (the tests' administrator) connects without a password; every other role must give
# its password. The role qavplus, the workstation's usual database user, gets the password of
# QAV_TEST_PGPASSWORD (by default one with a ';' and a quote in it, as real passwords may have).
# Run as root, the cluster runs as the user postgres. Messages go to stderr; stdout carries only
# the export lines.
set -euo pipefail

pg_bin="$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)"

run_pg() {
  if [ "$(id -u)" -eq 0 ]; then su postgres -s /bin/sh -c "$*"; else sh -c "$*"; fi
}

start() {
  if [ -z "$pg_bin" ] || [ ! -x "$pg_bin/initdb" ]; then
    echo "pg-cluster: PostgreSQL server programs not found under /usr/lib/postgresql" >&2
    return 2
  fi
  local password=$'s3nh@;\'x'
  [ -n "${QAV_TEST_PGPASSWORD:-}" ] && password="$QAV_TEST_PGPASSWORD"
  local dir
  dir="$(mktemp -d /tmp/qav-pg.XXXXXX)"
  chmod 755 "$dir"
  [ "$(id -u)" -eq 0 ] && chown postgres "$dir"
  run_pg "'$pg_bin/initdb' -D '$dir/data' -U qav --auth=trust -E UTF8 --locale=C.UTF-8 >'$dir/initdb.log' 2>&1" || {
    echo "pg-cluster: initdb failed:" >&2
    cat "$dir/initdb.log" >&2
    rm -rf "$dir"
    return 1
  }
  cat >"$dir/data/pg_hba.conf" <<'HBA'
# qav, the tests' administrator, is trusted; every other role gives its password.
local all qav trust
host  all qav 127.0.0.1/32 trust
local all all scram-sha-256
host  all all 127.0.0.1/32 scram-sha-256
HBA
  [ "$(id -u)" -eq 0 ] && chown postgres "$dir/data/pg_hba.conf"

  # Ports are drawn at random; another cluster may hold the one drawn, so try a few.
  local port="" try
  for try in 1 2 3 4 5; do
    local candidate=$((54000 + RANDOM % 1000))
    if run_pg "'$pg_bin/pg_ctl' -D '$dir/data' -o '-p $candidate -k $dir -c listen_addresses=127.0.0.1 -c password_encryption=scram-sha-256' -l '$dir/log' -w start >/dev/null 2>&1"; then
      port=$candidate
      break
    fi
  done
  if [ -z "$port" ]; then
    echo "pg-cluster: the server did not start:" >&2
    cat "$dir/log" >&2 || true
    rm -rf "$dir"
    return 1
  fi

  # The password reaches the server as a psql variable, quoted by psql itself.
  if ! printf '%s\n' "CREATE ROLE qavplus LOGIN PASSWORD :'senha';" |
    "$pg_bin/psql" -X -q -v ON_ERROR_STOP=1 -v senha="$password" -h 127.0.0.1 -p "$port" -U qav -d postgres >&2; then
    echo "pg-cluster: the role qavplus could not be created" >&2
    stop "$dir"
    return 1
  fi

  printf 'export QAV_TEST_PGHOST=127.0.0.1\n'
  printf 'export QAV_TEST_PGPORT=%s\n' "$port"
  printf 'export QAV_TEST_PGUSER=qav\n'
  printf 'export QAV_TEST_PGPASSUSER=qavplus\n'
  printf 'export QAV_TEST_PGPASSWORD=%q\n' "$password"
  printf 'export QAV_TEST_PGDIR=%q\n' "$dir"
}

stop() {
  local dir="${1:-${QAV_TEST_PGDIR:-}}"
  if [ -z "$dir" ] || [ ! -d "$dir/data" ]; then
    echo "pg-cluster: no cluster to stop (QAV_TEST_PGDIR not set or gone)" >&2
    return 1
  fi
  run_pg "'$pg_bin/pg_ctl' -D '$dir/data' -m immediate stop >/dev/null 2>&1" || true
  rm -rf "$dir"
}

case "${1:-}" in
  start) start ;;
  stop) stop "${2:-}" ;;
  *)
    echo "usage: $0 start | stop [cluster folder]" >&2
    exit 2
    ;;
esac
