#!/usr/bin/python3
"""The same full read with Debian's python3-dbfread: every column of every live record
turned into text.

    /usr/bin/python3 bench/bench_dbfread.py FOLDER/TABLE.DBF [ENCODING]

ENCODING defaults to cp850 (the benchmark table has no language driver; dbfread would
otherwise fall back to ASCII and fail on the accents).
"""
import resource
import sys
import time

import dbfread


def main():
    path = sys.argv[1]
    encoding = sys.argv[2] if len(sys.argv) > 2 else "cp850"
    before = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss
    t0 = time.monotonic()
    table = dbfread.DBF(path, encoding=encoding, load=False)
    rows = chars = 0
    for rec in table:
        for v in rec.values():
            chars += len("" if v is None else str(v))
        rows += 1
    total = time.monotonic() - t0
    peak = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss
    print("dbfread: %d rows, %d columns as text, %d characters" % (rows, len(table.field_names), chars))
    print("dbfread: total %.3f s, %.0f rows/s" % (total, rows / total))
    print("dbfread: peak RSS %.1f MB (%.1f MB before the read)" % (peak / 1024.0, before / 1024.0))


if __name__ == "__main__":
    main()
