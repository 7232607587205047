#!/usr/bin/env bash
# Creates a fresh embedded Norvale database from schema/ and converts the example
# legacy folder into it with the console front end, which prints the summary.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}
DB="$PWD/$BUILD/demo/norvale.fb"

mkdir -p "$(dirname "$DB")"
rm -f "$DB"
bash scripts/create-db.sh "$DB"
echo "Banco Norvale novo: $DB"
echo "Origem: $PWD/examples/tolv"
echo

status=0
"$BUILD/conversor-tolv-cli" --origem "$PWD/examples/tolv" --destino "$DB" todos || status=$?
# 3: committed, with rows the target rejected (they are listed above).
if [ "$status" -ne 0 ] && [ "$status" -ne 3 ]; then
  exit "$status"
fi

exit 0
