#!/usr/bin/python3
"""Writes the dBase fixtures of the reader's tests into the folder given as argument.

The tables are written by an independent writer, Debian's python3-dbf. What it cannot
write (dBase IV memo blocks, tables without a language driver, broken files, values
the writer refuses: garbage numbers, impossible dates, 18-digit codes it would pass
through a float) is patched here byte by byte from the documented layout
(/work/shared/notes/dbase-files.md) and, where it can read them, read back with
Debian's python3-dbfread, a second independent reader, before the tests use it.

  <dir>/        tables of the reader's tests (types, code pages, damage)
  <dir>/tolv/   one table per converter statement (CLIENTES ... ContPag)
  <dir>/duplo/  Dup.dbf and DUP.DBF: a name that differs only by case
  <dir>/vazia/  an empty folder
"""
import datetime
import decimal
import os
import pathlib
import random
import struct
import sys

import dbf
import dbfread

OUT = sys.argv[1]
D = datetime.date

# Portuguese text with every accent the tests look for: ç, ã, õ, é, Á, Ç, Ã, Õ.
PT_ROWS = ["AÇÃO ação São João Conceição Áurea é õ Õ Ç", "JOÃO DA CONCEIÇÃO", "AVENIDA SÃO PAULO Nº 10",
           "Maçã e Pêssego"]


def path(*parts):
    return os.path.join(OUT, *parts)


def write(p, layout, rows, dbf_type="db3", codepage="cp850", deleted=()):
    """A table written by python3-dbf."""
    t = dbf.Table(p, layout, dbf_type=dbf_type, codepage=codepage)
    t.open(dbf.READ_WRITE)
    for r in rows:
        t.append(r)
    for i, rec in enumerate(t):
        if i in deleted:
            dbf.delete(rec)
    t.close()
    return p


def load(p):
    return pathlib.Path(p).read_bytes()


def save(p, data):
    pathlib.Path(p).write_bytes(data)


def at(data, pos, raw):
    return data[:pos] + raw + data[pos + len(raw):]


def patch(p, pos, raw):
    save(p, at(load(p), pos, raw))


def header(d):
    """Header length, record length and {field: (offset in the record, length)}."""
    hlen, rlen = struct.unpack("<HH", d[8:12])
    fields, pos, off = {}, 32, 1
    while d[pos] != 0x0D:
        length = d[pos + 16] + (256 * d[pos + 17] if d[pos + 11] == ord("C") else 0)
        fields[d[pos:pos + 11].split(b"\0")[0].decode("ascii")] = (off, length)
        off += length
        pos += 32
    return hlen, rlen, fields


def patch_fields(p, *patches):
    """Overwrites fields of records (0-based) with raw bytes of their length."""
    d = load(p)
    hlen, rlen, fields = header(d)
    for rec, name, raw in patches:
        off, length = fields[name]
        assert len(raw) == length, (name, raw, length)
        d = at(d, hlen + rec * rlen + off, raw)
    save(p, d)


def read(p, **kw):
    return list(dbfread.DBF(p, **kw))


def check(cond, what):
    if not cond:
        sys.exit("fixture check failed: " + what)


# ---------------------------------------------------------------- field types

def field_types():
    # dBase III with .dbt memo (0x83): C N F D L M, a deleted record, nulls.
    p = path("TIPOS.DBF")
    memo = "".join("Linha de observação número %02d\r\n" % i for i in range(1, 31))  # three blocks
    write(p, "NOME C(20); QTD N(6,0); PRECO N(10,2); TAXA F(12,4); DIA D; ATIVO L; OBS M", [
        ("Ação Ímpar", 42, 12.5, 0.125, D(2013, 5, 21), True, memo),
        ("DELETADO", 1, 1.0, 1.0, D(2000, 1, 1), False, "apagado"),
        ("  Espaço à esquerda", -3, -0.5, None, None, None, ""),
        ("", 0, 1000.0, 0.0, D(1899, 12, 30), False, "curto"),
    ], deleted={1})
    # python3-dbf drops leading blanks; the field keeps them.
    patch_fields(p, (2, "NOME", "  Espaço à esquerda".ljust(20).encode("cp850")))
    rows = read(p, encoding="cp850")
    check(len(rows) == 3 and rows[0]["OBS"] == memo and rows[0]["NOME"] == "Ação Ímpar", "TIPOS")
    check(rows[1]["NOME"] == "  Espaço à esquerda" and load(p)[0] == 0x83, "TIPOS blanks, 0x83")

    # Numbers and dates as the field has them: bytes the writer would not put.
    p = path("VALORES.DBF")
    write(p, "COD C(4); VAL N(8,2); DIA D; N18 N(18,0)",
          [("A", 1.5, D(2013, 5, 21), 0), ("B", None, None, None)] +
          [(c, i, D(2013, 5, 20 + i), i - 1) for i, c in enumerate("CDEFG", start=2)])
    patch_fields(p, (0, "N18", b"123456789012345678"), (1, "DIA", b"00000000"), (1, "VAL", b"********"),
                 (2, "VAL", b"    12X4"), (3, "DIA", b"19940231"), (3, "N18", b"123456789012345677"),
                 (4, "VAL", b"    1,50"), (4, "N18", b"             00012"), (5, "VAL", b"   -0.00"),
                 (5, "N18", b"                +7"), (6, "VAL", b" 1.5E+03"), (6, "N18", b"  -000000000000.50"))
    rows = read(p, raw=True)
    check(rows[0]["N18"] == b"123456789012345678" and rows[2]["VAL"] == b"    12X4" and
          rows[3]["DIA"] == b"19940231", "VALORES raw")
    first = next(iter(dbfread.DBF(p)))
    check(first["N18"] == 123456789012345678 and first["VAL"] == 1.5, "VALORES row 0 by dbfread")

    # A number beyond the range of a double, written in the field's own notation.
    p = path("ENORME.DBF")
    write(p, "COD C(4); VAL N(8,0)", [("A", 1), ("B", 2)])
    patch_fields(p, (0, "VAL", b"  1E+309"))
    check(read(p, raw=True)[0]["VAL"] == b"  1E+309", "ENORME raw")

    # FoxPro 2.x (0xF5) with .fpt memo over one 64-byte block many times, cp1252.
    p = path("FOX.DBF")
    memo = "memo da raposa ção " * 60
    write(p, "NOME C(10); OBS M; V F(10,3)", [("Açúcar", memo, 1.25), ("Vazio", "", None)],
          dbf_type="fp", codepage="cp1252")
    check(load(p)[0] == 0xF5, "FOX is 0xF5")

    # Visual FoxPro (0x30): I B Y T, memo in .fpt, every field nullable (_NullFlags).
    p = path("VFP.DBF")
    write(p, "NOME C(10) NULL; QTD I NULL; PRECO B NULL; VALOR Y NULL; QUANDO T NULL; DIA D NULL; "
             "OK L NULL; OBS M NULL; NUM N(8,2) NULL", [
        ("Ação", 42, 1.5, decimal.Decimal("12.3456"), datetime.datetime(2013, 5, 21, 18, 30, 15),
         D(2013, 5, 21), True, "memo visual ção", 12.5),
        (dbf.Null,) * 9,
        ("Negativo", -7, -2.25, decimal.Decimal("-0.0001"), datetime.datetime(2013, 5, 21),
         D(1899, 12, 30), False, "", -0.5),
        ("Grande", 2147483646, 1e20, decimal.Decimal("123456789.1234"), datetime.datetime(1900, 1, 1, 0, 0, 1),
         D(9999, 12, 31), True, "x", 0),
    ], dbf_type="vfp", codepage="cp1252")
    check(read(p, encoding="cp1252")[1]["_NULLFLAGS"] != b"\0\0" and load(p)[0] == 0x30, "VFP nulls, 0x30")

    # The first and last days of the calendar in a date and in a date-time field;
    # ANO0 a date-time one day before the first.
    p = path("ANO1.DBF")
    write(p, "DIA D; QUANDO T", [(D(1, 1, 1), datetime.datetime(1, 1, 1)),
                                 (D(9999, 12, 31), datetime.datetime(9999, 12, 31, 23, 59, 59))],
          dbf_type="vfp", codepage="cp1252")
    check(read(p, ignore_missing_memofile=True)[0]["QUANDO"] == datetime.datetime(1, 1, 1) and
          read(p, raw=True, ignore_missing_memofile=True)[0]["DIA"] == b"00010101", "ANO1 by dbfread")
    p = path("ANO0.DBF")
    write(p, "DIA D; QUANDO T", [(D(2000, 1, 1), datetime.datetime(2000, 1, 1))], dbf_type="vfp", codepage="cp1252")
    patch_fields(p, (0, "QUANDO", struct.pack("<II", 1721425, 0)))

    # Visual FoxPro gives _NullFlags bits only to nullable fields, in field order.
    # python3-dbf numbers them by field position instead, which agrees only when every
    # field is nullable (VFP.DBF): rewritten here as B (first nullable) bit 0, C bit 1.
    p = path("VFPMISTO.DBF")
    write(p, "A C(5); B N(5,0) NULL; C C(5) NULL; D I", [("x", dbf.Null, "c", 1), ("y", 5, dbf.Null, 2),
                                                          ("z", 6, "cc", 3)], dbf_type="vfp", codepage="cp1252")
    patch_fields(p, (0, "_NULLFLAGS", b"\x01"), (1, "_NULLFLAGS", b"\x02"), (2, "_NULLFLAGS", b"\x00"))
    rows = read(p, encoding="cp1252")
    check([(r["_NULLFLAGS"], r["A"], r["B"]) for r in rows] == [(b"\x01", "x", None), (b"\x02", "y", 5),
                                                                 (b"\x00", "z", 6)], "VFPMISTO by dbfread")

    # Clipper character field of 300 bytes (high byte of the length in byte 17); two
    # values alike in more bytes than a sort key holds.
    p = path("CLIPPER.DBF")
    write(p, "LONGO C(300); COD C(4)", [("x" * 299 + "y", "c1"), ("curto", "c2"), ("x" * 299 + "a", "c3")],
          dbf_type="clp")
    check(load(p)[32 + 16:32 + 18] == bytes([300 % 256, 1]), "CLIPPER length in bytes 16-17")

    # A dBase III memo with Clipper's soft return (0x8D 0x0A) and a lone 0x8D (ì).
    write(path("SOFT.DBF"), "COD C(2); OBS M", [("1", "linha1ì\nlinha2 ìndio")])
    check(b"linha1\x8d\nlinha2 \x8dndio" in load(path("SOFT.DBT")), "SOFT bytes")

    # A type this reader does not know, in the second descriptor.
    write(path("TIPOX.DBF"), "COD C(4); ESTRANHO C(6)", [("A", "abc")])
    patch(path("TIPOX.DBF"), 32 + 32 + 11, b"W")

    # No memo file (one blank pointer, which needs none), a pointer past the memo's end.
    write(path("SEMMEMO.DBF"), "COD C(2); OBS M", [("1", "tem memo"), ("2", "")])
    patch_fields(path("SEMMEMO.DBF"), (1, "OBS", b" " * 10))
    os.remove(path("SEMMEMO.DBT"))
    write(path("MEMORUIM.DBF"), "COD C(2); OBS M", [("1", "tem memo")])
    patch_fields(path("MEMORUIM.DBF"), (0, "OBS", b"      9999"))


def dbase4_memo():
    """dBase IV (0x8B) with a .dbt of dBase IV blocks, written here byte by byte.

    .dbt header: bytes 0-3 next free block (LE), 8-15 table name, 20-21 block length.
    Each memo: FF FF 08 00, a 4-byte LE length counting these 8 bytes, then the text.
    """
    p = path("DB4.DBF")
    write(p, "COD C(4); OBS M", [("1", ""), ("2", ""), ("3", "")])
    texts = {0: "Memória dBase IV ção", 2: "Bloco longo ção " * 45}  # 720 bytes: two blocks
    block, dbt, pointers = 512, bytearray(512), {}
    for rec, text in texts.items():
        data = text.encode("cp850")
        pointers[rec] = len(dbt) // block
        body = b"\xff\xff\x08\x00" + struct.pack("<I", len(data) + 8) + data + b"\x1a\x1a"
        dbt += body + b"\0" * (-len(body) % block)
    dbt[0:4] = struct.pack("<I", len(dbt) // block)
    dbt[8:16] = b"DB4\0\0\0\0\0"
    dbt[20:22] = struct.pack("<H", block)
    save(path("DB4.DBT"), dbt)
    patch_fields(p, *[(rec, "OBS", b"%10d" % pointers[rec] if rec in pointers else b" " * 10) for rec in range(3)])
    patch(p, 0, b"\x8b")
    # dbfread takes the length as the data's (8 bytes too many: the two 0x1A and
    # padding here) and cuts at 0x1F.
    rows = read(p, encoding="cp850")
    for rec, text in texts.items():
        got = rows[rec]["OBS"]
        check(got.startswith(text) and set(got[len(text):]) <= {"\x1a", "\0"}, "DB4 memo %d by dbfread" % rec)
    check(rows[1]["OBS"] is None, "DB4 blank pointer")


def versions():
    """The same table under every version byte, and header ends of other writers."""
    d = load(write(path("VERSAO.DBF"), "COD C(4); VAL N(6,1)", [("A", 1.5), ("B", 2)]))
    for v in (0x02, 0xFB, 0x43, 0x63, 0xCB, 0x8B, 0x30, 0x31, 0x32, 0xF5, 0x83):
        save(path("V%02X.DBF" % v), at(d, 0, bytes([v])))
        check([r["COD"] for r in read(path("V%02X.DBF" % v))] == ["A", "B"], "version %02X" % v)
    hlen, rlen, fields = header(d)
    end = 32 + 32 * len(fields)
    # No 0x0D after the descriptors: the header ends right after the last one.
    save(path("SEM0D.DBF"), at(d[:end] + d[hlen:], 8, struct.pack("<H", end)))
    # 0x0D then an extra 0x00, and garbage after the NUL of a field name ("COD\0").
    save(path("EXTRA00.DBF"), at(at(d[:hlen] + b"\0" + d[hlen:], 8, struct.pack("<H", hlen + 1)), 37, b"LIXO!\0"))
    check([r["COD"] for r in read(path("EXTRA00.DBF"))] == ["A", "B"], "EXTRA00")


# ---------------------------------------------------------------- code pages

def code_pages():
    upper = ["JOÃO DA CONCEIÇÃO", "AVENIDA SÃO PAULO", "JOSÉ", "INFORMAÇÕES"]  # as legacy systems kept it
    # Small letters whose cp1252 bytes are capitals in cp850 (é E9 is Ú there, â E2 Ô,
    # à E0 Ó): by letters alone a tie; the case of the letter in its word decides.
    few = ["café", "até logo", "é"]
    # Screens and reports of the DOS systems kept frames and rulers in text fields;
    # cp1252 and cp850 read many of those bytes as capitals (═ is Í, ╔ É, ╟ Ã).
    box850 = ["╔══════════════════╗", "║ JOÃO DA CONCEIÇÃO ║", "╚══════════════════╝", "Ação ─────────"]
    box437 = ["╓────╖", "╟────╢", "╙────╜", "açúcar"]
    written = {"CP437": 0x01, "BOX437": 0x01, "CP850": 0x02, "CP860": 0x24, "CP1252": 0x03, "CPGRUIM": 0x02}  # by python3-dbf
    for name, cp, rows, ldid in (
            ("CP437", "cp437", ["açúcar é ç Ç à ê ô ª º"], None),  # cp437 holds no ã, õ, Á: its own sample
            ("CP850", "cp850", PT_ROWS, None), ("CP860", "cp860", PT_ROWS, None), ("CP1252", "cp1252", PT_ROWS, None),
            ("ANSI57", "cp1252", PT_ROWS, 0x57),
            # No language driver: the bytes of each code page, byte 29 zeroed.
            ("SEM850", "cp850", PT_ROWS, 0), ("SEM860", "cp860", PT_ROWS, 0), ("SEM1252", "cp1252", PT_ROWS, 0),
            ("SEMUTF8", "utf8", PT_ROWS, 0), ("MAI850", "cp850", upper, 0), ("MAI1252", "cp1252", upper, 0),
            ("ASCII", "cp850", ["SEM ACENTOS", "nada"], 0), ("MIN850", "cp850", few, 0), ("MIN1252", "cp1252", few, 0),
            ("BOX850", "cp850", box850, 0), ("BOX437", "cp437", box437, None),
            # cp1252's Ç is cp850's Ã: only the letters around it tell (ÇA, not ÃA).
            ("SEM1252C", "cp1252", ["MARIA", "CAÇAPAVA"], 0),
            # One word that both read as a word (JOÃO, JOÇO): a close guess.
            ("SEM850J", "cp850", ["JOÃO", "PEDRO"], 0),
            ("CPG", "cp1252", PT_ROWS, 0x02),  # a wrong language driver (cp850); CPG.cpg names 1252
            ("MARCA437", "cp850", PT_ROWS, 0x01),  # marked cp437, written in cp850 (cp437 has no ã, õ)
            ("CPGRUIM", "cp850", ["x"], None)):  # with a .cpg this reader does not know
        p = write(path(name + ".DBF"), "TEXTO C(60)", [(r,) for r in rows], codepage=cp)
        if ldid is not None:
            patch(p, 29, bytes([ldid]))
        check(load(p)[29] == written.get(name, ldid), name + " ldid")
        check([r["TEXTO"] for r in read(p, encoding=cp)] == rows, name + " by dbfread")
    save(path("CPG.cpg"), b"1252\n")
    save(path("CPGRUIM.CPG"), b"KOI8-R")


# ---------------------------------------------------------------- order

def order():
    """Tables to sort on every column, and the order each column must give.

    ORDEM (dBase III) and ORDEMVFP (Visual FoxPro) hold values in random order with
    repeats, nulls of every spelling, negatives, texts that share long prefixes and
    end in accented bytes, numbers alike in more digits than a double holds. The
    order expected of each column is worked out here from what python3-dbfread reads
    back (nulls first, then text by its bytes without right padding, numbers by
    value, dates and date-times by moment, false before true, ties in record order)
    and written to ORDEM.txt, one line a column: the name, then the IDs in order.
    """
    rnd = random.Random(17)
    stems = ["AVENIDA PRESIDENTE JUSCELINO KUBITSCHEK DE OLIVEIRA ", "AVENIDA PRESIDENTE JUSCELINO KUBITSCHEK ",
             "RUA DA CONCEIÇÃO ", "RUA DA CONCEICAO ", "ação ", ""]
    rows, big, nums = [], [], []
    for i in range(3000):
        stem = rnd.choice(stems)
        txt = stem + rnd.choice(["", "%d" % rnd.randrange(40), "Ç%d" % rnd.randrange(5), "BLOCO %s" % rnd.choice("ABÁ")])
        num = rnd.choice([None, 0, rnd.randrange(-50, 50), rnd.randrange(-10 ** 6, 10 ** 6) / 10 ** 4,
                          rnd.randrange(-99, 99) / 100])
        dia = rnd.choice([None, D(1, 1, 1) + datetime.timedelta(days=rnd.randrange(3652058))])
        ok = rnd.choice([None, True, False])
        rows.append((i + 1, txt.rstrip(), num, None, dia, ok))
        big.append(rnd.choice([b" " * 19, b"*" * 19, ("%19d" % (12345678901234567 * 100 + rnd.randrange(-3, 40))).encode(),
                               ("%19d" % -rnd.randrange(10 ** 18)).encode()]))
        nums.append(rnd.choice([None, b"       -0.0000", b"**************", b"   -00012.5000", b"    1.2345E+01"]))
    p = write(path("ORDEM.DBF"), "ID N(6,0); TXT C(70); NUM N(14,4); BIG N(19,0); DIA D; OK L", rows)
    patch_fields(p, *[(i, "BIG", b) for i, b in enumerate(big)],
                 *[(i, "NUM", n) for i, n in enumerate(nums) if n is not None],
                 *[(i, "OK", b"?") for i in range(0, 3000, 7) if rows[i][5] is None],
                 *[(i, "DIA", b"00000000") for i in range(0, 3000, 5) if rows[i][4] is None])

    vfp = []
    for i in range(1000):
        n = lambda v: rnd.choice([dbf.Null, v])
        vfp.append((i + 1, n(rnd.randrange(-2 ** 31 + 1, 2 ** 31)), n(rnd.choice([rnd.uniform(-1e6, 1e6), 0.0, 1e300, -1e-300])),
                    n(decimal.Decimal(rnd.randrange(-10 ** 12, 10 ** 12)) / 10000),
                    n(datetime.datetime(rnd.randrange(1, 10000), rnd.randrange(1, 13), rnd.randrange(1, 29),
                                        rnd.randrange(24), rnd.randrange(60), rnd.randrange(60)))))
    # Hours of one day before 1899 (held as negative fractions), the first and last
    # moments a date-time can hold.
    for h in (18, 0, 6):
        vfp.append((len(vfp) + 1, 1, 1.0, decimal.Decimal(1), datetime.datetime(1500, 6, 1, h)))
    vfp.append((len(vfp) + 1, 1, 1.0, decimal.Decimal(1), datetime.datetime(9999, 12, 31, 23, 59, 59)))
    vfp.append((len(vfp) + 1, 1, 1.0, decimal.Decimal(1), datetime.datetime(1, 1, 1)))
    # Every field nullable: python3-dbf then numbers the _NullFlags bits as Visual FoxPro does.
    write(path("ORDEMVFP.DBF"), "ID I NULL; QTD I NULL; PRECO B NULL; VALOR Y NULL; QUANDO T NULL", vfp, dbf_type="vfp",
          codepage="cp1252")

    def text(v):
        return v.rstrip(b" \0") or None

    def number(v):
        v = v.strip()
        return None if not v or set(v) <= set(b"*.") else decimal.Decimal(v.decode())

    lines = []
    for table, cols in (("ORDEM", {"ID": number, "TXT": text, "NUM": number, "BIG": number, "DIA": None, "OK": None}),
                        ("ORDEMVFP", {"QTD": None, "PRECO": None, "VALOR": None, "QUANDO": None})):
        raw = read(path(table + ".DBF"), raw=True, ignore_missing_memofile=True)
        cooked = read(path(table + ".DBF"), ignore_missing_memofile=True)
        check(len(raw) == len(cooked) == (3000 if table == "ORDEM" else 1005), table + " by dbfread")
        names = [f for f in cooked[0].keys() if f != "_NULLFLAGS"]
        for col, conv in cols.items():
            vals = [conv(r[col]) if conv else c[col] for r, c in zip(raw, cooked)]
            if table == "ORDEMVFP":
                bit = names.index(col)
                vals = [None if r["_NULLFLAGS"][bit // 8] >> (bit % 8) & 1 else v for r, v in zip(raw, vals)]
            ids = [c["ID"] for c in cooked]
            # Python's sort is stable: ties stay in record order.
            ranked = sorted(range(len(ids)), key=lambda k: (vals[k] is not None, vals[k] if vals[k] is not None else 0))
            lines.append(" ".join([table + "." + col] + [str(ids[k]) for k in ranked]))
    check(len(set(v for v in (r[1] for r in rows))) < 1500, "ORDEM has repeated texts")
    pathlib.Path(path("ORDEM.txt")).write_text("\n".join(lines) + "\n")


# ---------------------------------------------------------------- damage

def damage():
    d = load(write(path("BASE10.DBF"), "COD C(4); VAL N(8,2)", [("R%02d" % i, i + 0.5) for i in range(1, 11)]))
    hlen, rlen, fields = header(d)
    check(struct.unpack("<I", d[4:8])[0] == 10 and rlen == 13, "BASE10 layout")
    count = lambda n: at(d, 4, struct.pack("<I", n))
    for name, data in (
            ("CORTADO", d[:hlen + 5 * rlen + 6]),  # cut in the sixth record: the header's 10 cannot be right
            ("CURTO", d[:hlen + 9 * rlen + 7]),  # cut inside the last record: flag, COD and two bytes of VAL
            ("MAIS1", count(11)),  # ten whole records and the 0x1A, but the header says eleven
            ("MIL", count(1000)),
            ("OITO", count(8)),  # the two records after the eighth are trailing bytes
            ("SEM1A", d[:hlen + 10 * rlen]),  # no 0x1A at the end
            ("LIXOFIM", d[:hlen + 10 * rlen] + b"\x1agarbage after the end"),
            ("MARCA1A", at(d, hlen + 5 * rlen, b"\x1a")),  # an end mark where the sixth record's flag is
            ("MARCARUIM", at(d, hlen + 2 * rlen, b"X")),  # a flag neither blank nor asterisk
            ("TEXTO", b"isto nao e uma tabela")):
        save(path(name + ".DBF"), data)
    check(len(read(path("SEM1A.DBF"))) == 10, "damage by dbfread")


# ---------------------------------------------------------------- the converters' tables

def tolv():
    os.makedirs(path("tolv"))
    t = lambda name: path("tolv", name)
    blank = lambda n: ("",) * n
    write(t("CLIENTES.DBF"),
          "CODIGO C(6); DATA_ANI D; DATA_CAD D; RAZAOSOC C(50); FANTASIA C(30); FILIACAO C(60); ENDERECO C(50); "
          "BAIRRO C(25); CIDADE C(25); ESTADO C(2); CEP C(9); CGC C(18); INSC C(18); TELEFONE1 C(15); FAX C(15); "
          "CONTATO C(30); CELULAR C(15); OBS1 M; REFERE C(60); SPC1 C(10); SPC2 C(10); LOCAL_TRAB C(40)", [
              ("000123", D(1980, 12, 25), D(2001, 3, 4), "JOÃO DA SILVA", "Padaria São João", "Maria e José",
               "Rua das Flores, 100", "Centro", "São Paulo", "SP", "01001-000", "123.456.789-09", "ISENTO",
               "(11) 3333-4444", "", "Conceição", "(11) 99999-8888", "Cliente desde 2001\r\nPaga em dia",
               "Referência comercial", "", "S", "Fábrica Ação"),
              ("000124", None, D(2010, 1, 31), "EMPRESA APAGADA") + blank(18),
              ("124", None, None, "ÁUREA COMÉRCIO LTDA", "", "", "Av. Brasil", "", "Rio de Janeiro", "RJ", "",
               "12.345.678/0001-95") + blank(10),
          ], deleted={1})
    write(t("FORNEC.DBF"),
          "CODIGO C(6); RAZAOSOC C(50); FANTASIA C(30); ENDERECO C(50); BAIRRO C(25); CIDADE C(25); ESTADO C(2); "
          "CEP C(9); CGC C(18); INSC C(18); TELEFONE1 C(15); FAX C(15)", [
              ("1", "DISTRIBUIDORA AÇÃO", "Ação", "Rua A, 1", "Vila Nova", "Curitiba", "PR", "80000-000",
               "11.222.333/0001-44", "123", "(41) 3000-0000", "(41) 3000-0001"),
              ("2",) + blank(11),
          ])
    write(t("GRUPO.DBF"), "CODIGO C(3); DESCRICAO C(30)",
          [("01", "BEBIDAS"), ("02", "LATICÍNIOS"), ("03", "APAGADO")], deleted={2})
    write(t("subgrupo.dbf"), "CODIGO C(4); DESCRICAO C(30)", [("0101", "REFRIGERANTES"), ("0102", "SUCOS")])
    write(t("Fabrica.DBF"), "CODIGO C(5); RAZAOSOC C(40)", [("00001", "NESTLÉ"), ("12", "AMBEV")])
    write(t("PR.DBF"),
          "CODITEM C(14); GRUPO C(5); SUBGRUPO C(5); DESCRICAO C(40); UNIDADE C(3); ESTMIN N(10,2); PVENDA N(12,2); "
          "COMISSAO N(5,2); CUSTOATUAL N(12,2); CUSTOMEDIO N(12,2); C_FISCAL C(5); EMPRESA C(2); CODFAB C(5)", [
              ("000010", "00101", "00102", "GUARANÁ 2L", "UN", 10, 7.5, 2.5, 4.1, 4.05, "01", "01", "1"),
              ("000002", "00101", "00101", "ÁGUA MINERAL", "CX", 0, 12, 0, None, None, "", "01", "00001"),
              ("000001", "00102", "00101", "EMPRESA DOIS", "UN", 0, 1, 0, 1, 1, "17", "02", ""),
              ("a00001", "00102", "00102", "minúsculo", "KG", 1.5, 0.99, 0, 0, 0, "12", "01", "12"),
              ("B00001", "00102", "00102", "MAIÚSCULO", "KG", 1.5, 0.99, 0, 0, 0, "7", "01", "12"),
              ("000002", "00101", "00101", "ÁGUA COM GÁS (empate)", "CX", 0, 13, 0, 2, 2, "", "01", "00001"),
              ("000003", "00101", "00101", "APAGADO", "UN", 0, 1, 0, 1, 1, "", "01", ""),
              ("", "00101", "00101", "SEM CÓDIGO", "UN", 0, 1, 0, 1, 1, "", "01", ""),
          ], deleted={6})
    write(t("CR.DBF"),
          "CODEMP C(2); CODCLI C(8); NUMERO_DOC C(12); EMISSAO D; VENCIMENTO D; VALOR N(12,2); VENDEDOR C(4); "
          "PAGAMENTO D", [
              ("01", "123", "NF1001/1", D(2013, 5, 1), D(2013, 6, 1), 150.75, "7", None),
              ("01", "124", "NF1002/1", D(2013, 5, 2), D(2013, 6, 2), 99.9, "", D(2013, 6, 2)),
              ("02", "125", "NF2001/1", D(2013, 5, 3), D(2013, 6, 3), 10, "8", None),
              ("01", "126", 'NF"1003"', None, None, 0.01, "", None),
          ])
    write(t("contpag.dbf"),
          "CODEMP C(2); NUMERO_DOC C(12); CODFOR C(6); VALOR N(12,2); EMISSAO D; VENCIMENTO D; HISTORICO C(40); "
          "PAGAMENTO D", [
              ("01", "BOL-1", "1", 1234.56, D(2013, 5, 10), D(2013, 6, 10), "Compra de mercadorias", None),
              ("02", "BOL-2", "2", 10, D(2013, 5, 11), D(2013, 6, 11), "Outra empresa", None),
              ("01", "BOL-3", "3", 20, D(2013, 5, 12), D(2013, 6, 12), "Já paga", D(2013, 6, 1)),
          ])
    os.makedirs(path("duplo"))
    write(path("duplo", "Dup.dbf"), "COD C(2)", [("a",)])
    write(path("duplo", "DUP.DBF"), "COD C(2)", [("b",)])
    os.makedirs(path("vazia"))


if __name__ == "__main__":
    os.makedirs(OUT, exist_ok=True)
    for make in (field_types, dbase4_memo, versions, code_pages, order, damage, tolv):
        make()
