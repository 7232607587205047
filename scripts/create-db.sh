#!/usr/bin/env bash
# Creates a fresh Norvale database file from schema/norvale.sql (SQL dialect 1,
# default character set WIN1252), in embedded mode, with isql-fb.
#
#   scripts/create-db.sh PATH
#
# PATH is replaced when it exists (the new file is built next to it and moved into
# place, so PATH is never left half made). Owner SYSDBA, password masterkey (an
# embedded attach checks no password). Exit status 0 on success.
set -euo pipefail

if [ $# -ne 1 ] || [ -z "$1" ]; then
  echo "usage: $0 PATH" >&2
  exit 2
fi
here=$(cd "$(dirname "$0")/.." && pwd)
schema="$here/schema/norvale.sql"
if [ ! -f "$schema" ]; then
  echo "create-db: $schema is missing" >&2
  exit 1
fi
ISQL=$(command -v isql-fb || command -v isql || true)
if [ -z "$ISQL" ]; then
  echo "create-db: isql-fb not found (Debian package firebird3.0-utils)" >&2
  exit 1
fi

target=$1
dir=$(cd "$(dirname "$target")" && pwd)
path="$dir/$(basename "$target")"
tmp="$path.tmp.$$"
script=$(mktemp)
trap 'rm -f "$script" "$tmp"' EXIT

# Single quotes inside the paths are doubled for the SQL literals.
q() { printf '%s' "$1" | sed "s/'/''/g"; }
cat > "$script" <<SQL
SET SQL DIALECT 1;
SET NAMES UTF8;
CREATE DATABASE '$(q "$tmp")' USER 'SYSDBA' PASSWORD 'masterkey'
  PAGE_SIZE 8192 DEFAULT CHARACTER SET WIN1252;
INPUT '$(q "$schema")';
COMMIT;
SQL
rm -f "$tmp"
out=$(ISC_USER=SYSDBA "$ISQL" -q -bail -i "$script" 2>&1) || {
  echo "create-db: isql-fb failed:" >&2
  echo "$out" >&2
  exit 1
}
mv -f "$tmp" "$path"
