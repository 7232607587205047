#!/usr/bin/python3
"""Writes a dBase table with Debian's python3-dbf, from a JSON description on stdin.

{"path": "...", "fields": "CODIGO C(4); DESCRICAO C(40)", "codepage": "cp850",
 "type": "db3", "rows": [["5", "Ação"], ...], "deleted": [1]}

Values come as text: N and F fields take a number or an empty text (null), D fields
YYYYMMDD or empty, L fields T/F or empty. Rows listed in "deleted" are marked deleted.
"""
import datetime
import json
import sys

import dbf


def convert(kind, text):
    if text is None or text == "":
        return None
    if kind in "NF":
        return float(text) if ("." in text or "e" in text.lower()) else int(text)
    if kind == "D":
        return datetime.date(int(text[0:4]), int(text[4:6]), int(text[6:8]))
    if kind == "L":
        return text.upper() in ("T", "Y", "S")
    return text


def main():
    desc = json.load(sys.stdin)
    table = dbf.Table(desc["path"], desc["fields"], codepage=desc.get("codepage", "cp1252"),
                      dbf_type=desc.get("type", "db3"))
    kinds = [f.strip().split()[1][0].upper() for f in desc["fields"].split(";") if f.strip()]
    table.open(dbf.READ_WRITE)
    for row in desc["rows"]:
        table.append(tuple(convert(k, v) for k, v in zip(kinds, row)))
    deleted = set(desc.get("deleted", []))
    for i, record in enumerate(table):
        if i in deleted:
            dbf.delete(record)
    table.close()


if __name__ == "__main__":
    main()
