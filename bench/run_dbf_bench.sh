#!/usr/bin/env bash
# The dBase reader's benchmark: generates a large table and reads it in full, every
# column as text, with the source query engine and with Debian's python3-dbfread,
# in the same run on the same file.
#
#   bash bench/run_dbf_bench.sh [BUILD_DIR] [RECORDS]
#
# BUILD_DIR defaults to build (it must hold bench/bench_dbf_read, or it is built
# there); RECORDS to 500000. The table goes to bench/out/ (not versioned).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}
RECORDS=${2:-500000}
OUT=bench/out

if [ ! -x "$BUILD/bench/bench_dbf_read" ]; then
  cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$BUILD" --target bench_dbf_read -j"$(nproc)"
fi

echo "== generating $RECORDS records"
/usr/bin/python3 bench/make_big_dbf.py "$OUT" "$RECORDS"
echo "== source query engine (file order)"
"$BUILD/bench/bench_dbf_read" "$OUT" CLIENTES
echo "== source query engine (ORDER BY CODBARRAS)"
"$BUILD/bench/bench_dbf_read" "$OUT" CLIENTES CODBARRAS
echo "== python3-dbfread"
/usr/bin/python3 bench/bench_dbfread.py "$OUT/CLIENTES.DBF" cp850
