#!/usr/bin/env bash
# Creates a throwaway dialect-1 WIN1252 database, loads norvale.sql and runs the
# sample statements against it; fails on the first statement the engine rejects.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cat > "$tmp/run.sql" <<SQL
SET SQL DIALECT 1;
SET NAMES UTF8;
CREATE DATABASE '$tmp/check.fb' USER 'SYSDBA' PASSWORD 'masterkey' DEFAULT CHARACTER SET WIN1252;
INPUT '$here/norvale.sql';
INPUT '$here/sample_statements.sql';
SET LIST ON;
SELECT (SELECT COUNT(*) FROM CLIENTE) AS CLIENTES, (SELECT COUNT(*) FROM FORNECE) AS FORNECEDORES,
       (SELECT COUNT(*) FROM PRODUTO) AS PRODUTOS, (SELECT COUNT(*) FROM CIDADES) AS CIDADES,
       (SELECT COUNT(*) FROM DOCUREC) AS DOCUREC, (SELECT COUNT(*) FROM MOVIPAG) AS MOVIPAG
  FROM RDB\$DATABASE;
SQL
ISC_USER=SYSDBA isql-fb -q -bail -i "$tmp/run.sql"
echo "schema check: ok"
