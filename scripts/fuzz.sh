#!/usr/bin/env bash
# Fuzzes the readers of outside input with libFuzzer (Debian's clang), then adds to
# the committed corpora (fuzz/corpus/<target>) the inputs that reached new code.
#
#   bash scripts/fuzz.sh [RUNS] [TARGET...]
#
# RUNS executions per target (default 1000000); targets dbf_table, dbf_sql, sql_text
# (default all). The build is build-fuzz/; the seeds (fuzz/make_seeds.py) and each
# run's new inputs stay under it. A crash leaves its input in build-fuzz/crash-*:
# replay it with `build-fuzz/fuzz/fuzz_<target> FILE`, or with the plain build's
# `build/fuzz/fuzz_replay_<target> FILE`. The tests replay the corpora (FuzzReplay.*).
set -euo pipefail
cd "$(dirname "$0")/.."

RUNS=${1:-1000000}
shift || true
TARGETS=("$@")
[ ${#TARGETS[@]} -gt 0 ] || TARGETS=(dbf_table dbf_sql sql_text)
BUILD=build-fuzz
JOBS=${JOBS:-2}

# libFuzzer comes with Debian's clang; the tests and CI do without it.
if ! command -v clang++ >/dev/null; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get install -y -qq --no-install-recommends clang
fi
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DCT_FUZZ=ON \
  -DCT_BUILD_GUI=OFF -DCT_BUILD_TESTS=OFF >/dev/null
cmake --build "$BUILD" -j"$JOBS"
[ -d "$BUILD/seeds" ] || /usr/bin/python3 fuzz/make_seeds.py "$BUILD/seeds"

for t in "${TARGETS[@]}"; do
  # Tables are read whole on every run: small ones keep the rate up, and every
  # header and record layout fits in 2 KB.
  extra=()
  [ "$t" = dbf_table ] && extra=(-max_len=2048)
  work="$BUILD/work/$t"
  mkdir -p "$work" "fuzz/corpus/$t"
  echo "== $t: $RUNS runs"
  # New inputs go to $work; the committed corpus and the seeds are read only.
  set +e
  (cd "$BUILD" && "./fuzz/fuzz_$t" "${extra[@]}" -runs="$RUNS" -dict="../fuzz/$t.dict" -timeout=20 -print_final_stats=1 \
      -artifact_prefix=./ "work/$t" "../fuzz/corpus/$t" "seeds/$t") >"$BUILD/$t.log" 2>&1
  rc=$?
  set -e
  grep -E "^#[0-9]+ *(INITED|DONE)|stat::(number_of_executed_units|average_exec_per_sec)|ERROR|SUMMARY" "$BUILD/$t.log" || true
  if [ $rc -ne 0 ]; then
    echo "$t found a fault: see $BUILD/$t.log and $BUILD/crash-*" >&2
    exit $rc
  fi
  # Only what reaches code the committed corpus does not: the corpus stays small.
  "./$BUILD/fuzz/fuzz_$t" "${extra[@]}" -merge=1 "fuzz/corpus/$t" "$work" "$BUILD/seeds/$t" 2>&1 | grep -E "MERGE-OUTER: [0-9]+ new files" || true
done
