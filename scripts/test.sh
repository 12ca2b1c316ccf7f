#!/usr/bin/env bash
# Sets everything up (packages, configure, build) and runs all tests through CTest.
#   scripts/test.sh [preset]     preset: dev (default) or dev-asan
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-dev}"
scripts/setup.sh "$preset"

# A throw-away PostgreSQL cluster on a loopback port for the tests that meet the server.
pg_bin="$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)"
if [ -n "$pg_bin" ] && [ -x "$pg_bin/initdb" ]; then
  pg_dir="$(mktemp -d /tmp/qav-pg.XXXXXX)"
  chmod 755 "$pg_dir"
  run_pg() { if [ "$(id -u)" -eq 0 ]; then su postgres -s /bin/sh -c "$*"; else sh -c "$*"; fi; }
  [ "$(id -u)" -eq 0 ] && chown postgres "$pg_dir"
  port=$(( 54000 + RANDOM % 1000 ))
  run_pg "'$pg_bin/initdb' -D '$pg_dir/data' -U qav --auth=trust -E UTF8 >/dev/null"
  run_pg "'$pg_bin/pg_ctl' -D '$pg_dir/data' -o '-p $port -k $pg_dir -c listen_addresses=127.0.0.1' -l '$pg_dir/log' -w start >/dev/null"
  trap "run_pg \"'$pg_bin/pg_ctl' -D '$pg_dir/data' -m immediate stop >/dev/null 2>&1\"; rm -rf '$pg_dir'" EXIT
  export QAV_TEST_PGHOST=127.0.0.1 QAV_TEST_PGPORT=$port QAV_TEST_PGUSER=qav
fi

export QT_QPA_PLATFORM=offscreen
ctest --preset "$preset" -j2 --timeout 600
