#!/usr/bin/python3
"""Writes the seed inputs of the fuzz targets from the tests' own material:

    /usr/bin/python3 fuzz/make_seeds.py OUT

OUT/dbf_table/  every table of the reader's fixtures (tests/platform/dbase/
                make_fixtures.py), of the broken folders (tests/hostile/make_broken.py)
                and of the example folder, each with its memo and .cpg file packed
                after "#MEMO#" and "#CPG#", as the target reads its input;
OUT/dbf_sql/    the statements of the converters and of the engine's tests, and
                statements over the target's own table T;
OUT/sql_text/   the statement texts of the converters and toolkit and of the target
                connection's tests (a 0 byte first: UTF-8), and a few as UTF-16.
"""
import hashlib
import os
import pathlib
import re
import subprocess
import sys
import tempfile

ROOT = pathlib.Path(__file__).resolve().parent.parent


def put(folder, data):
    folder.mkdir(parents=True, exist_ok=True)
    (folder / hashlib.sha1(data).hexdigest()).write_bytes(data)


def companion(table, ext):
    for p in table.parent.iterdir():
        if p.is_file() and p.stem.lower() == table.stem.lower() and p.suffix.lower() == ext:
            return p.read_bytes()
    return None


def tables(out):
    with tempfile.TemporaryDirectory() as tmp:
        tmp = pathlib.Path(tmp)
        subprocess.run(["/usr/bin/python3", str(ROOT / "tests/platform/dbase/make_fixtures.py"), str(tmp / "fx")],
                       check=True)
        subprocess.run(["/usr/bin/python3", str(ROOT / "tests/hostile/make_broken.py"), str(tmp / "hc")], check=True)
        folders = [tmp / "fx", ROOT / "examples/tolv"]
        folders += [p for p in (tmp / "fx").iterdir() if p.is_dir()]
        folders += [p for p in (tmp / "hc").iterdir() if p.is_dir()]
        for folder in folders:
            for p in sorted(folder.iterdir()):
                if p.suffix.lower() != ".dbf" or not p.is_file() or not os.access(p, os.R_OK):
                    continue
                data = p.read_bytes()
                memo = companion(p, ".fpt") if data[:1] in (b"\x30", b"\x31", b"\x32", b"\xf5", b"\xfb") else None
                memo = memo if memo is not None else companion(p, ".dbt")
                memo = memo if memo is not None else companion(p, ".fpt")
                if memo is not None:
                    data += b"#MEMO#" + memo
                cpg = companion(p, ".cpg")
                if cpg is not None:
                    data += b"#CPG#" + cpg
                put(out / "dbf_table", data)


LITERAL = re.compile(r'u"((?:[^"\\]|\\.)*)"')


def literals(paths):
    """The u"..." literals of C++ files, those written across lines joined."""
    texts = []
    for path in paths:
        src = path.read_text(encoding="utf-8")
        for m in re.finditer(r'(?:u"(?:[^"\\]|\\.)*"\s*)+', src):
            parts = LITERAL.findall(m.group(0))
            text = "".join(parts)
            text = re.sub(r"\\(.)", lambda e: {"n": "\n", "r": "\r", "t": "\t"}.get(e.group(1), e.group(1)), text)
            if len(text) > 6:
                texts.append(text)
    return texts


def statements(out):
    engine_tests = list((ROOT / "tests/platform/dbase").glob("*_test.cpp"))
    converters = list((ROOT / "converters").glob("*.cpp")) + list((ROOT / "toolkit").glob("*.cpp"))
    source = [t for t in literals(converters + engine_tests) if re.match(r"\s*select", t, re.I)]
    own = [
        "SELECT COD, NOME, VAL, DIA, OK, OBS FROM T",
        "SELECT COD, NOME FROM T WHERE OK = :P ORDER BY VAL",
        'select t.cod, T.Nome from t where Nome = "A""b" and DIA is null order by DIA asc;',
        "SELECT COD FROM T WHERE VAL = :V AND DIA = :D AND OBS = :O ORDER BY COD",
        "SELECT OBS FROM T WHERE COD = :C ORDER BY OK",
    ]
    for s in source + own:
        put(out / "dbf_sql", s.encode("utf-8"))


def target_texts(out):
    paths = list((ROOT / "converters").glob("*.cpp")) + list((ROOT / "toolkit").glob("*.cpp"))
    paths += list((ROOT / "tests/platform/firebird").glob("*.cpp"))
    texts = literals(paths)
    texts += ["Insert Into T (A, B) Values ('D''Avila; -- x', \"N\") /* :NAO */ -- :NAO\n",
              "SELECT q'{:NAO}' , q'!x!' FROM T WHERE A = :SIM", "Commit;", " commit work ",
              "EXECUTE BLOCK AS BEGIN :X = 1; END", "UPDATE T SET A = ? WHERE B = :B"]
    # A converter's literal insert, row after row: the statement cache's shapes.
    rows = [("Insert into cadfabr ( cadfabr.codFabric, cadfabr.Descricao) Values ('00012', 'Tramontina')",
             "Insert into cadfabr ( cadfabr.codFabric, cadfabr.Descricao) Values ('00013', 'D''Avila; --')"),
            ("INSERT INTO T (A, B, C) VALUES (1, -2.50, \"N\")", "INSERT INTO T (A, B, C) VALUES (12, 3.5E2, \"S\")"),
            ("UPDATE T SET A = 'x' WHERE B = 10 AND C = 'y'", "UPDATE T SET A = '' WHERE B = -7 AND C = 'z''w'")]
    texts += [a + "\u0001" + b for a, b in rows]
    for t in texts:
        put(out / "sql_text", b"\0" + t.encode("utf-8"))
    for t in ["SELECT :A FROM T WHERE X = '\u2554\u2550'", "ok \ud800 lone", "\U0001F600 :P"]:
        put(out / "sql_text", b"\1" + t.encode("utf-16-le", "surrogatepass"))


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    out = pathlib.Path(sys.argv[1])
    tables(out)
    statements(out)
    target_texts(out)
    for t in ("dbf_table", "dbf_sql", "sql_text"):
        print("%s: %d seeds" % (t, len(list((out / t).iterdir()))))


if __name__ == "__main__":
    main()
