#!/usr/bin/env bash
# The same work as bench_store done by the sqlite3 command-line tool on plain tables, so that the
# overhead of the store layer shows.   bench/compare_sqlite3.sh [rows]
set -euo pipefail
rows="${1:-1000000}"
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT
python3 - "$rows" > "$dir/rows.csv" <<'PY'
import sys
n = int(sys.argv[1])
for i in range(n):
    print(f"{10001 + (i % 5) * 10000},{i // 5 + 1},{(1000 + i % 9000) / 100:.4f},{i % 500:.2f}")
PY
t() { local start=$(date +%s%N); "$@" > /dev/null; echo $(( ($(date +%s%N) - start) / 1000000 )); }
db="$dir/plain.db"
sqlite3 "$db" "CREATE TABLE pauxpro (ID_PAUTA INTEGER, ID_PROD INTEGER, PRECO1 TEXT, VALOR1 TEXT);"
ms=$(t sqlite3 "$db" ".mode csv" ".import $dir/rows.csv pauxpro" "CREATE INDEX k ON pauxpro (ID_PROD, ID_PAUTA);")
printf "%-52s %8s ms\n" "sqlite3 .import $rows rows + index" "$ms"
ms=$(t sqlite3 "$db" "SELECT count(*) FROM (SELECT * FROM pauxpro ORDER BY ID_PROD, ID_PAUTA);")
printf "%-52s %8s ms\n" "sqlite3 walk of all rows in key order" "$ms"
python3 - > "$dir/gets.sql" <<'PY'
import random
random.seed(42)
for _ in range(100000):
    print(f"SELECT * FROM pauxpro WHERE ID_PROD = {random.randint(1, 200000)} AND ID_PAUTA = 10001;")
PY
ms=$(t sqlite3 "$db" ".read $dir/gets.sql")
printf "%-52s %8s ms\n" "sqlite3 100,000 gets by key (one statement each)" "$ms"
