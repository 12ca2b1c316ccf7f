#!/usr/bin/env bash
# A demonstration central server for a demo data folder: a throw-away PostgreSQL cluster holding the
# ERP's schemas with the office side of the folder itself (company, settings, salesperson, catalogue,
# price lists, payment forms, customers, receivables and open history orders), and the folder's
# company configured to communicate with it.
#
#   eval "$(scripts/demo-server.sh start DATA_FOLDER)"   prints the export lines of the cluster
#   scripts/demo-server.sh stop                          stops it (QAV_TEST_PGDIR)
#
# Needs the build (qavdemo, qavtool in build/dev). Messages go to stderr, stdout carries only the
# export lines.
set -euo pipefail
cd "$(dirname "$0")/.."

start() {
  local folder="$1"
  local env
  env="$(scripts/pg-cluster.sh start)" || return 1
  eval "$env"
  local pg_bin
  pg_bin="$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -n 1)"
  local psql=("$pg_bin/psql" -X -q -v ON_ERROR_STOP=1 -h "$QAV_TEST_PGHOST" -p "$QAV_TEST_PGPORT" -U "$QAV_TEST_PGUSER")
  "${psql[@]}" -d postgres -c "CREATE DATABASE qavdemo;" >&2
  for f in gestao zor; do
    "${psql[@]}" -d qavdemo -f "sync/server/$f.sql" >&2
  done
  build/dev/tools/qavdemo/qavdemo --sql-servidor "$folder" | "${psql[@]}" -d qavdemo >&2
  "${psql[@]}" -d qavdemo >&2 <<'SQL'
GRANT USAGE ON SCHEMA gestao, zor TO qavplus;
GRANT SELECT, INSERT, UPDATE, DELETE ON ALL TABLES IN SCHEMA gestao, zor TO qavplus;
GRANT USAGE, SELECT, UPDATE ON ALL SEQUENCES IN SCHEMA gestao, zor TO qavplus;
SQL
  build/dev/tools/qavtool/qavtool configurar --pasta "$folder" --empresa 1 BD_HOST="$QAV_TEST_PGHOST" \
    BD_PORTA="$QAV_TEST_PGPORT" BD_NOME=qavdemo BD_USUARIO="$QAV_TEST_PGPASSUSER" \
    BD_SENHA="$QAV_TEST_PGPASSWORD" >&2
  echo "$env"
}

case "${1:-}" in
  start)
    [ -n "${2:-}" ] || { echo "usage: $0 start DATA_FOLDER | stop" >&2; exit 2; }
    start "$2"
    ;;
  stop) scripts/pg-cluster.sh stop ;;
  *)
    echo "usage: $0 start DATA_FOLDER | stop" >&2
    exit 2
    ;;
esac
