#!/usr/bin/env python3
"""Checks that no source file includes a header of a layer above its own.

The layers, lowest first: the platform's core (text, dates, regional settings,
window services, the source query interface), the platform's engines (dBase
source, Firebird target; neither includes the other), the toolkit, the
converters, the run, and the front ends in app/. Tests, benchmarks and fuzz
targets stand outside and may include anything.

Usage: check-layers.py [SOURCE_DIR]; prints each offending include and exits 1.
"""
import pathlib
import re
import sys

RANKS = [("app/", 5), ("run/", 4), ("converters/", 3), ("toolkit/", 2),
         ("platform/dbase/", 1), ("platform/firebird/", 1), ("platform/", 0)]


def layer(path):
    for prefix, rank in RANKS:
        if path.startswith(prefix):
            return prefix, rank
    return None, None


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
    include = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
    bad = []
    for f in sorted(root.rglob("*")):
        if f.suffix not in (".h", ".cpp") or not f.is_file():
            continue
        rel = f.relative_to(root).as_posix()
        own, rank = layer(rel)
        if own is None:
            continue
        for target in include.findall(f.read_text(encoding="utf-8", errors="replace")):
            other, other_rank = layer(target)
            if other is None:
                continue
            upward = other_rank > rank
            sideways = other_rank == rank and other != own and rank == 1
            if upward or sideways:
                bad.append(f"{rel}: includes {target}")
    for line in bad:
        print(line)
    print(f"layers: {len(bad)} include(s) against the layering")
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
