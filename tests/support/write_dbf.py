#!/usr/bin/python3
"""Writes a dBase table with Debian's python3-dbf, from a JSON description on stdin.

{"path": "...", "fields": "CODIGO C(4); DESCRICAO C(40)", "codepage": "cp850",
 "type": "db3", "rows": [["5", "Ação"], ...], "deleted": [1]}

Values come as text: N and F fields take a number or an empty text (null), D fields
YYYYMMDD or empty, L fields T/F or empty. Rows listed in "deleted" are marked deleted.
Character values keep their leading blanks (the dbf module strips them; legacy fields
hold them, so they are written again byte for byte).
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
    keep_leading_blanks(desc["path"], kinds, desc["rows"], desc.get("codepage", "cp1252"))


def keep_leading_blanks(path, kinds, rows, codepage):
    with open(path, "r+b") as f:
        head = f.read(32)
        header_length = int.from_bytes(head[8:10], "little")
        record_length = int.from_bytes(head[10:12], "little")
        offsets, widths, pos = [], [], 1  # byte 0 of a record is the deletion flag
        for _ in kinds:
            d = f.read(32)
            offsets.append(pos)
            widths.append(d[16])
            pos += d[16]
        for r, row in enumerate(rows):
            for i, (kind, value) in enumerate(zip(kinds, row)):
                if kind == "C" and value and value != value.lstrip():
                    raw = value.encode(codepage).ljust(widths[i], b" ")[:widths[i]]
                    f.seek(header_length + r * record_length + offsets[i])
                    f.write(raw)


if __name__ == "__main__":
    main()
