#!/usr/bin/env bash
# Opens the row report in a real spreadsheet program and checks that legacy codes
# stay text: "0502" stays "0502" and "12.345" stays "12.345", under Brazilian
# settings. Run by hand after a build (LibreOffice is not needed by `make test`):
#   apt-get install --no-install-recommends libreoffice-calc-nogui
#   scripts/check-report-spreadsheet.sh [build]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}
command -v soffice >/dev/null || { echo "soffice não encontrado: instale libreoffice-calc-nogui" >&2; exit 2; }

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$WORK/tolv" "$WORK/lo"

# Two groups without a description, so both are skipped and reported.
echo '{"path": "'"$WORK"'/tolv/GRUPO.DBF", "fields": "CODIGO C(6); DESCRICAO C(40)",
       "rows": [["0502", ""], ["12.345", ""], ["7", "Ferragens"]]}' | /usr/bin/python3 tests/support/write_dbf.py
bash scripts/create-db.sh "$WORK/norvale.fb" >/dev/null

"$BUILD/conversor-tolv-cli" --origem "$WORK/tolv" --destino "$WORK/norvale.fb" --simular \
  --relatorio "$WORK/relatorio.xlsx" grupo >/dev/null 2>&1

# The spreadsheet as LibreOffice reads it, written back as CSV: separator ';', UTF-8,
# each cell as the sheet shows it.
LANG=pt_BR.UTF-8 soffice -env:UserInstallation="file://$WORK/lo" --headless \
  --convert-to 'csv:Text - txt - csv (StarCalc):59,34,76,1,,1046' --outdir "$WORK" "$WORK/relatorio.xlsx" >/dev/null 2>&1
cat "$WORK/relatorio.csv"
echo

ok=0
grep -q '^Grupos de produtos;[0-9]*;0502;' "$WORK/relatorio.csv" || { echo 'FALHOU: "0502" não ficou "0502"'; ok=1; }
grep -q '^Grupos de produtos;[0-9]*;12.345;' "$WORK/relatorio.csv" || { echo 'FALHOU: "12.345" não ficou "12.345"'; ok=1; }
[ "$ok" -eq 0 ] && echo 'OK: os códigos chegaram à planilha como texto.'
exit "$ok"
