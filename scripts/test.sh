#!/usr/bin/env bash
# Sets everything up (packages, configure, build) and runs all tests through CTest.
#   scripts/test.sh [preset]     preset: dev (default) or dev-asan
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-dev}"
scripts/setup.sh "$preset"

# A throw-away PostgreSQL cluster on a loopback port for the tests that meet the server.
if pg_env="$(scripts/pg-cluster.sh start)"; then
  eval "$pg_env"
  trap 'scripts/pg-cluster.sh stop' EXIT
else
  echo "No PostgreSQL test cluster: the tests that need the server will fail." >&2
fi

export QT_QPA_PLATFORM=offscreen
ctest --preset "$preset" -j2 --timeout 600
