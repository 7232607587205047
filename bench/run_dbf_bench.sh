#!/usr/bin/env bash
# The dBase reader's benchmark: generates a large table and reads it in full, every
# column as text, with the source query engine in file order and in the order of
# several keys, and with Debian's python3-dbfread, in the same run on the same file.
#
#   bash bench/run_dbf_bench.sh [BUILD_DIR] [RECORDS]
#
# BUILD_DIR defaults to build (it must hold bench/bench_dbf_read, or it is built
# there); RECORDS to 500000. The table goes to bench/out/ (not versioned); a table
# of that size already there is reused. The keys: none (file order), CODBARRAS
# (rises with the record number), CODALEAT (random permutation), SALDO (random
# amounts with repeats), DESCRICAO (text, long shared prefixes), RAZAOSOC (names).
# The checksum column tells whether two builds returned the same rows in the same
# order. Each read runs RUNS times (default 3) and the fastest counts: the machine
# is shared, and for the same reason the rows per second of processor time (user
# and system) are given beside the elapsed rate.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}
RECORDS=${2:-500000}
OUT=bench/out
RUNS=${RUNS:-3}

if [ ! -x "$BUILD/bench/bench_dbf_read" ]; then
  cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$BUILD" --target bench_dbf_read -j2
fi

if [ "$(cat "$OUT/RECORDS" 2>/dev/null)" != "$RECORDS" ]; then
  echo "== generating $RECORDS records"
  /usr/bin/python3 bench/make_big_dbf.py "$OUT" "$RECORDS"
  echo "$RECORDS" >"$OUT/RECORDS"
fi
cat "$OUT/CLIENTES.DBF" >/dev/null  # in the page cache for every run alike

echo "== source query engine, $RECORDS records"
echo "| ORDER BY | rows/s | rows per processor s | open s | peak RSS MB | checksum |"
echo "|---|---|---|---|---|---|"
for key in "" CODBARRAS CODALEAT SALDO DESCRICAO RAZAOSOC; do
  best=0 bestcpu=0 open="" rss="" sum=""
  for _ in $(seq "$RUNS"); do
    out=$("$BUILD/bench/bench_dbf_read" "$OUT" CLIENTES $key)
    rate=$(sed -n 's/.*total [0-9.]* s, \([0-9]*\) rows\/s.*/\1/p' <<<"$out")
    cpu=$(sed -n 's/.*, \([0-9]*\) rows per processor second.*/\1/p' <<<"$out")
    if [ "${cpu:-0}" -gt "$bestcpu" ]; then bestcpu=$cpu; fi
    if [ "$rate" -gt "$best" ]; then
      best=$rate
      open=$(sed -n 's/.*open \([0-9.]*\) s.*/\1/p' <<<"$out")
      rss=$(sed -n 's/.*peak RSS \([0-9.]*\) MB.*/\1/p' <<<"$out")
      sum=$(sed -n 's/.*checksum \([0-9a-f]*\).*/\1/p' <<<"$out")
    fi
  done
  echo "| ${key:-none (file order)} | $best | ${bestcpu} | $open | $rss | $sum |"
done
echo "== python3-dbfread"
/usr/bin/python3 bench/bench_dbfread.py "$OUT/CLIENTES.DBF" cp850
